#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

// The rows of the property grid apart from the widget: caption, value, edit type and pick list of
// each row. Every change calls the owner's rebuild (the grid's UpdateGrid).
using Neuaufbau = std::function<void()>;

// Key/text pairs; sorted by text (locale-aware, case-sensitive) once Sorted is on.
class TZRPropPickList {
public:
    void Add(const QString& schluessel, const QString& text);
    int Count() const { return int(eintraege_.size()); }
    const QString& Schluessel(int i) const { return eintraege_.at(i).first; }
    const QString& Text(int i) const { return eintraege_.at(i).second; }
    QStringList Texte() const;
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    // Empty when no entry has the key.
    QString TextZuSchluessel(const QString& schluessel) const;
    // The index of the first entry with the text, -1 when there is none.
    int IndexVonText(const QString& text) const;

private:
    void Sortieren();
    std::vector<std::pair<QString, QString>> eintraege_;
    bool sorted_ = false;
};

class TZRPropertiesItem {
public:
    explicit TZRPropertiesItem(Neuaufbau neuaufbau) : neuaufbau_(std::move(neuaufbau)) {}

    const QString& Value() const { return value_; }
    const QString& Caption() const { return caption_; }
    int EditType() const { return editType_; }
    int DropDownRows() const { return dropDownRows_; }
    int Digits() const { return digits_; }
    long double Min() const { return min_; }
    long double Max() const { return max_; }
    TZRPropPickList& PickList() { return pickList_; }
    const TZRPropPickList& PickList() const { return pickList_; }

    void SetValue(const QString& v);
    void SetCaption(const QString& c);
    void SetEditType(int t);
    void SetDropDownRows(int r);
    void SetDigits(int d);
    void SetMin(long double m);
    void SetMax(long double m);

    // What the value cell shows: for type 5 the text of the stored key, else the value.
    QString GetAnzeigeWert() const;
    // Type 5: the value becomes the key of the first entry with the text (unchanged when none);
    // other types: the value becomes the text.
    void SetAnzeigeWert(const QString& text);

private:
    template <typename T>
    void Setzen(T& feld, const T& wert);

    Neuaufbau neuaufbau_;
    QString value_;
    QString caption_;
    int editType_ = 1;
    TZRPropPickList pickList_;
    int dropDownRows_ = 10;
    int digits_ = 1;
    long double min_ = 0;
    long double max_ = 999;
};

class TZRProperties {
public:
    explicit TZRProperties(Neuaufbau neuaufbau) : neuaufbau_(std::move(neuaufbau)) {}
    TZRPropertiesItem& Add();
    int Count() const { return int(items_.size()); }
    TZRPropertiesItem& GetItem(int index) { return *items_.at(index); }
    const TZRPropertiesItem& GetItem(int index) const { return *items_.at(index); }

private:
    Neuaufbau neuaufbau_;
    std::vector<std::unique_ptr<TZRPropertiesItem>> items_;
};
