#include "FDBTests.h"

#include <DBTools.h>

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace Einrichtung {

TfrmDBTests::TfrmDBTests(QWidget* owner) : TZRDialog(owner)
{
    setObjectName(QStringLiteral("frmDBTests"));
    setWindowTitle(QStringLiteral("Datenbank Tests"));
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setMinimumSize(460, 220);
    schliessen_ = new QPushButton(QStringLiteral("Schliessen"), this);
    schliessen_->setObjectName(QStringLiteral("Schliessen"));
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::reject);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(schliessen_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo_, 1);
    layout->addLayout(knoepfe);
}

void TfrmDBTests::ZeileHinzufuegen(const QString& zeile)
{
    memo_->appendPlainText(zeile);
    // The user sees each line as it comes, while the test goes on.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmDBTests::showEvent(QShowEvent* event)
{
    TZRDialog::showEvent(event);
    if (OnTest && !gelaufen_)
        QTimer::singleShot(0, this, &TfrmDBTests::TestAusfuehren);
}

void TfrmDBTests::TestAusfuehren()
{
    if (gelaufen_)
        return;
    gelaufen_ = true;
    schliessen_->setEnabled(false);
    DBTools::Sicher([this] { ergebnis_ = OnTest(*this); });
    schliessen_->setEnabled(true);
    schliessen_->setFocus();
}

}  // namespace Einrichtung
