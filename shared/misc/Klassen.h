#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Small growable lists of one element type: record identifiers, a set of them, texts, dates and
// signed integers. Out-of-range indices never raise: reads give the zero value, writes and
// deletions do nothing.
namespace Klassen {

namespace detail {

// What all lists share; E is the element type, its value-initialised form the zero value.
template <class E>
class TListe {
public:
    void Clear() { items_.clear(); }
    int GetCount() const { return int(items_.size()); }
    E GetItems(int index) const { return inRange(index) ? items_[std::size_t(index)] : E{}; }
    const std::vector<E>& Items() const { return items_; }

protected:
    bool inRange(int index) const { return index >= 0 && index < GetCount(); }
    int find(const E& value) const;
    void setItem(int index, const E& value);
    void deleteItem(int index);
    // Ascending and stable: equal elements keep their order.
    void sort();
    int add(const E& value);

    std::vector<E> items_;
};

}  // namespace detail

// The base of the lists of 32-bit unsigned values.
class TBasicLongWordList : public detail::TListe<std::uint32_t> {
public:
    virtual ~TBasicLongWordList() = default;
    virtual void SetItems(int index, std::uint32_t value) = 0;
    virtual void Sort();
    virtual void Delete(int index);
};

class TLongWordList : public TBasicLongWordList {
public:
    void SetItems(int index, std::uint32_t value) override;
    // Appends Value; returns its index.
    int Add(std::uint32_t value);
    // Becomes a copy of Source; a missing Source clears this list.
    void Assign(const TLongWordList* source);
    // Index of the first element equal to Value, -1 when there is none.
    int Find(std::uint32_t value) const;
};

// Each value at most once, kept ascending.
class TLongWordSet : public TBasicLongWordList {
public:
    // Always fails: a set cannot take a value at a chosen place.
    void SetItems(int index, std::uint32_t value) override;
    // False when Value is already in the set.
    bool Add(std::uint32_t value);
    bool Contains(std::uint32_t value) const;
    int IndexOf(std::uint32_t value) const;
    void Remove(std::uint32_t value);
};

// Texts compared exactly and case-sensitively, sorted by character codes.
class TTextList : public detail::TListe<QString> {
public:
    void SetItems(int index, const QString& value);
    void Delete(int index);
    void Sort();
    int Add(const QString& value);
    void Assign(const TTextList* source);
    int Find(const QString& value) const;
};

// Dates as day numbers with the time as fraction.
class TDateList : public detail::TListe<double> {
public:
    void SetItems(int index, double value);
    void Delete(int index);
    void Sort();
    int Add(double value);
    void Assign(const TDateList* source);
    int Find(double value) const;
};

class TIntegerList : public detail::TListe<std::int32_t> {
public:
    void SetItems(int index, std::int32_t value);
    void Delete(int index);
    void Sort();
    int Add(std::int32_t value);
    void Assign(const TIntegerList* source);
    int Find(std::int32_t value) const;
};

}  // namespace Klassen
