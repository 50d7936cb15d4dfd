#pragma once

#include <QStringList>
#include <QValidator>

class TZRcxGridDBTableView;

// Turns what is typed or pasted into upper case.
class TGrossschreibung : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Puts the view's columns of these fields first, in this order, each as wide as its contents
// (sharing the view's width in that proportion), with the user's saved layout
// over it; again each time the dataset opens, since a closed dataset has no columns and the
// header forgets their order with them.
void SpaltenFolge(TZRcxGridDBTableView& ansicht, const QStringList& felder);
