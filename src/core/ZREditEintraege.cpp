#include "ZREditEintraege.h"

void TZRColumnsItem::SetEditType(int t)
{
    if (editType_ == t)
        return;
    editType_ = t;
    if (neuaufbau_)
        neuaufbau_();
}

void TZRColumnsItem::SetTitle(const QString& t)
{
    if (title_ == t)
        return;
    title_ = t;
    if (neuZeichnen_)
        neuZeichnen_();
}

void TZRColumnsItem::SetWidth(int w)
{
    if (width_ == w)
        return;
    width_ = w;
    if (neuaufbau_)
        neuaufbau_();
}

void TZREditItem::SetZelle(int spalte, const QString& text)
{
    if (spalte >= 0 && spalte < Zellen.size())
        Zellen[spalte] = text;
}

TZREditItem& TZREditItems::Add()
{
    auto zeile = std::make_unique<TZREditItem>();
    for (int i = 0; i < spalten_.Count(); ++i)
        zeile->Zellen << QString();
    items_.push_back(std::move(zeile));
    if (neuaufbau_)
        neuaufbau_();
    return *items_.back();
}

void TZREditItems::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    items_.erase(items_.begin() + index);
    if (neuaufbau_)
        neuaufbau_();
}

void TZREditItems::Clear()
{
    items_.clear();
    if (neuaufbau_)
        neuaufbau_();
}

TZRColumnsItem& TZRColumns::Add(TZREditItems& zeilen)
{
    items_.push_back(std::make_unique<TZRColumnsItem>(neuaufbau_, neuZeichnen_));
    for (auto& zeile : zeilen.items_)
        while (zeile->Zellen.size() < Count())
            zeile->Zellen << QString();
    if (neuaufbau_)
        neuaufbau_();
    return *items_.back();
}
