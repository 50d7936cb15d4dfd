#include "ZRPropEintraege.h"

#include <algorithm>

void TZRPropPickList::Add(const QString& schluessel, const QString& text)
{
    eintraege_.emplace_back(schluessel, text);
    if (sorted_)
        Sortieren();
}

QStringList TZRPropPickList::Texte() const
{
    QStringList texte;
    for (const auto& e : eintraege_)
        texte << e.second;
    return texte;
}

void TZRPropPickList::SetSorted(bool sorted)
{
    sorted_ = sorted;
    if (sorted_)
        Sortieren();
}

void TZRPropPickList::Sortieren()
{
    std::stable_sort(eintraege_.begin(), eintraege_.end(), [](const auto& a, const auto& b) {
        return QString::localeAwareCompare(a.second, b.second) < 0;
    });
}

QString TZRPropPickList::TextZuSchluessel(const QString& schluessel) const
{
    for (const auto& e : eintraege_)
        if (e.first == schluessel)
            return e.second;
    return {};
}

int TZRPropPickList::IndexVonText(const QString& text) const
{
    for (size_t i = 0; i < eintraege_.size(); ++i)
        if (eintraege_[i].second == text)
            return int(i);
    return -1;
}

template <typename T>
void TZRPropertiesItem::Setzen(T& feld, const T& wert)
{
    if (feld == wert)
        return;
    feld = wert;
    if (neuaufbau_)
        neuaufbau_();
}

void TZRPropertiesItem::SetValue(const QString& v)
{
    Setzen(value_, v);
}

void TZRPropertiesItem::SetCaption(const QString& c)
{
    Setzen(caption_, c);
}

void TZRPropertiesItem::SetEditType(int t)
{
    Setzen(editType_, std::clamp(t, 0, 255));
}

void TZRPropertiesItem::SetDropDownRows(int r)
{
    Setzen(dropDownRows_, r);
}

void TZRPropertiesItem::SetDigits(int d)
{
    Setzen(digits_, std::clamp(d, 0, 255));
}

void TZRPropertiesItem::SetMin(long double m)
{
    Setzen(min_, m);
}

void TZRPropertiesItem::SetMax(long double m)
{
    Setzen(max_, m);
}

QString TZRPropertiesItem::GetAnzeigeWert() const
{
    if (editType_ == 5)
        return pickList_.TextZuSchluessel(value_);
    return value_;
}

void TZRPropertiesItem::SetAnzeigeWert(const QString& text)
{
    if (editType_ != 5) {
        SetValue(text);
        return;
    }
    const int i = pickList_.IndexVonText(text);
    if (i >= 0)
        SetValue(pickList_.Schluessel(i));
}

TZRPropertiesItem& TZRProperties::Add()
{
    items_.push_back(std::make_unique<TZRPropertiesItem>(neuaufbau_));
    if (neuaufbau_)
        neuaufbau_();
    return *items_.back();
}
