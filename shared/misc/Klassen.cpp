#include "Klassen.h"

#include <algorithm>
#include <stdexcept>

namespace Klassen {

namespace detail {

template <class E>
int TListe<E>::find(const E& value) const
{
    const auto it = std::find(items_.begin(), items_.end(), value);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

template <class E>
void TListe<E>::setItem(int index, const E& value)
{
    if (inRange(index))
        items_[std::size_t(index)] = value;
}

template <class E>
void TListe<E>::deleteItem(int index)
{
    if (inRange(index))
        items_.erase(items_.begin() + index);
}

template <class E>
void TListe<E>::sort()
{
    std::stable_sort(items_.begin(), items_.end());
}

template <class E>
int TListe<E>::add(const E& value)
{
    items_.push_back(value);
    return GetCount() - 1;
}

template <>
void TListe<QString>::sort()
{
    // By character codes, case-sensitive; a prefix comes first.
    std::stable_sort(items_.begin(), items_.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
}

template class TListe<std::uint32_t>;
template class TListe<QString>;
template class TListe<double>;
template class TListe<std::int32_t>;

}  // namespace detail

void TBasicLongWordList::Sort()
{
    sort();
}

void TBasicLongWordList::Delete(int index)
{
    deleteItem(index);
}

void TLongWordList::SetItems(int index, std::uint32_t value)
{
    setItem(index, value);
}

int TLongWordList::Add(std::uint32_t value)
{
    return add(value);
}

void TLongWordList::Assign(const TLongWordList* source)
{
    items_ = source ? source->items_ : std::vector<std::uint32_t>{};
}

int TLongWordList::Find(std::uint32_t value) const
{
    return find(value);
}

void TLongWordSet::SetItems(int, std::uint32_t)
{
    throw std::logic_error("SetItems: Nicht unterstuetzt in TLongWordSet");
}

bool TLongWordSet::Add(std::uint32_t value)
{
    const auto it = std::lower_bound(items_.begin(), items_.end(), value);
    if (it != items_.end() && *it == value)
        return false;
    items_.insert(it, value);
    return true;
}

bool TLongWordSet::Contains(std::uint32_t value) const
{
    return std::binary_search(items_.begin(), items_.end(), value);
}

int TLongWordSet::IndexOf(std::uint32_t value) const
{
    const auto it = std::lower_bound(items_.begin(), items_.end(), value);
    return it != items_.end() && *it == value ? int(it - items_.begin()) : -1;
}

void TLongWordSet::Remove(std::uint32_t value)
{
    deleteItem(IndexOf(value));
}

#define KLASSEN_LISTE(Klasse, E)                               \
    void Klasse::SetItems(int index, E value)                  \
    {                                                          \
        setItem(index, value);                                 \
    }                                                          \
    void Klasse::Delete(int index)                             \
    {                                                          \
        deleteItem(index);                                     \
    }                                                          \
    void Klasse::Sort()                                        \
    {                                                          \
        sort();                                                \
    }                                                          \
    int Klasse::Add(E value)                                   \
    {                                                          \
        return add(value);                                     \
    }                                                          \
    void Klasse::Assign(const Klasse* source)                  \
    {                                                          \
        items_ = source ? source->items_ : decltype(items_){}; \
    }                                                          \
    int Klasse::Find(E value) const                            \
    {                                                          \
        return find(value);                                    \
    }

KLASSEN_LISTE(TTextList, const QString&)
KLASSEN_LISTE(TDateList, double)
KLASSEN_LISTE(TIntegerList, std::int32_t)

#undef KLASSEN_LISTE

}  // namespace Klassen
