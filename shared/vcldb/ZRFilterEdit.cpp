#include "ZRFilterEdit.h"

#include <Sanduhr.h>
#include <DataSet.h>
#include <Error.h>
#include <Meldung.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMetaMethod>

namespace {

// The dataset's controls stay still while the filter changes, and hear of it all at the end.
class Steuerelementsperre {
public:
    explicit Steuerelementsperre(db::DataSet& ds) : ds_(ds) { ds_.DisableControls(); }
    ~Steuerelementsperre() { ds_.EnableControls(); }
    Steuerelementsperre(const Steuerelementsperre&) = delete;
    Steuerelementsperre& operator=(const Steuerelementsperre&) = delete;

private:
    db::DataSet& ds_;
};

}  // namespace

TZRFilterEdit::TZRFilterEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &TZRFilterEdit::TextGeaendert);
}

bool TZRFilterEdit::Offen() const
{
    return dataSet_ && dataSet_->Active();
}

template <class Signal, class Bewegung>
void TZRFilterEdit::Navigieren(Signal signal, Bewegung bewegung)
{
    if (isSignalConnected(QMetaMethod::fromSignal(signal)))
        emit(this->*signal)(this);
    else if (dataSet_)
        bewegung(*dataSet_);
}

void TZRFilterEdit::DoFirst()
{
    Navigieren(&TZRFilterEdit::OnFirst, [](db::DataSet& ds) { ds.First(); });
}

void TZRFilterEdit::DoLast()
{
    Navigieren(&TZRFilterEdit::OnLast, [](db::DataSet& ds) { ds.Last(); });
}

void TZRFilterEdit::DoNext()
{
    Navigieren(&TZRFilterEdit::OnNext, [](db::DataSet& ds) { ds.Next(); });
}

void TZRFilterEdit::DoPrior()
{
    Navigieren(&TZRFilterEdit::OnPrior, [](db::DataSet& ds) { ds.Prior(); });
}

void TZRFilterEdit::keyPressEvent(QKeyEvent* event)
{
    if (Offen() && event->modifiers() == Qt::NoModifier) {
        switch (event->key()) {
            case Qt::Key_End:
                getippt_ = false;
                event->accept();
                DoLast();
                return;
            case Qt::Key_Home:
                getippt_ = false;
                event->accept();
                DoFirst();
                return;
            case Qt::Key_Up:
                getippt_ = false;
                event->accept();
                DoPrior();
                return;
            case Qt::Key_Down:
                getippt_ = false;
                event->accept();
                DoNext();
                return;
            default:
                break;
        }
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        getippt_ = false;
        event->accept();
        emit OnSelect(this);
        return;
    }
    getippt_ = true;
    QLineEdit::keyPressEvent(event);
    // A key that changed nothing leaves no pending filter for a later change by the program.
    getippt_ = false;
}

void TZRFilterEdit::TextGeaendert()
{
    if (!getippt_ || !Offen())
        return;
    getippt_ = false;
    QString fehler;
    {
        Sanduhr sanduhr;
        emit OnBeforeFilter(this);
        try {
            Steuerelementsperre sperre(*dataSet_);
            dataSet_->SetFiltered(false);
            if (!text().trimmed().isEmpty())
                dataSet_->SetFiltered(true);
        } catch (const db::Error& e) {
            // A pending edit that cannot be posted keeps the dataset as it was.
            fehler = e.Message();
        }
        if (fehler.isEmpty())
            emit OnAfterFilter(this);
    }
    if (!fehler.isEmpty())
        Tools::MeldungError(fehler);
}
