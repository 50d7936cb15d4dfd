#pragma once

#include <QLineEdit>

namespace db {
class DataSet;
}

// The search edit over a dataset. Home, End, Up and Down move the dataset's record (or raise
// OnFirst, OnLast, OnPrior, OnNext when connected); Enter raises OnSelect. Text the user types
// (not text set by the program) filters: OnBeforeFilter lets the form take the new text into the
// dataset's OnFilterRecord, then, with the dataset's controls held and the hourglass shown, the
// dataset's filter is switched off and, for a non-blank text, on again; OnAfterFilter follows.
class TZRFilterEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TZRFilterEdit(QWidget* parent = nullptr);

    db::DataSet* DataSet() const { return dataSet_; }
    void SetDataSet(db::DataSet* dataSet) { dataSet_ = dataSet; }

    void DoFirst();
    void DoLast();
    void DoNext();
    void DoPrior();

signals:
    void OnSelect(TZRFilterEdit* sender);
    void OnFirst(TZRFilterEdit* sender);
    void OnLast(TZRFilterEdit* sender);
    void OnNext(TZRFilterEdit* sender);
    void OnPrior(TZRFilterEdit* sender);
    void OnBeforeFilter(TZRFilterEdit* sender);
    void OnAfterFilter(TZRFilterEdit* sender);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Offen() const;
    void TextGeaendert();
    // Raises the event when a form listens to it; otherwise moves the dataset itself.
    template <class Signal, class Bewegung>
    void Navigieren(Signal signal, Bewegung bewegung);

    db::DataSet* dataSet_ = nullptr;
    bool getippt_ = false;
};
