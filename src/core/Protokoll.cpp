#include "Protokoll.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

TfrmProtokoll::TfrmProtokoll(QWidget* owner) : TZRDialog(owner), memo_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("frmProtokoll"));
    setWindowTitle(QStringLiteral("Protokoll"));
    setBorderStyle(bsSizeable);
    memo_->setObjectName(QStringLiteral("Memo"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* schliessen = new QPushButton(QStringLiteral("Schließen"), this);
    schliessen->setObjectName(QStringLiteral("btnSchliessen"));
    connect(schliessen, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo_);
    layout->addWidget(schliessen, 0, Qt::AlignRight);
    resize(560, 400);
}

void ProtokollZeigen(const QStringList& zeilen, bool zumEnde, QWidget* owner)
{
    TfrmProtokoll dlg(owner);
    dlg.Memo()->setPlainText(zeilen.join(QLatin1Char('\n')));
    if (zumEnde)
        dlg.Memo()->verticalScrollBar()->setValue(dlg.Memo()->verticalScrollBar()->maximum());
    dlg.exec();
}
