#include <Klassen.h>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Klassen;

namespace {

template <class L>
std::vector<typename std::decay_t<decltype(std::declval<L>().Items())>::value_type> items(
    const L& list)
{
    return list.Items();
}

// The behaviour all four plain lists share, run on each with three ascending values a < b < c.
template <class L, class E>
void plainListContract(E a, E b, E c, E zero)
{
    L list;
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.Add(c), 0);
    EXPECT_EQ(list.Add(a), 1);
    EXPECT_EQ(list.Add(b), 2);
    EXPECT_EQ(list.Add(a), 3);
    EXPECT_EQ(list.GetCount(), 4);

    // Out of range: reads give the zero value, writes and deletions do nothing.
    EXPECT_EQ(list.GetItems(-1), zero);
    EXPECT_EQ(list.GetItems(4), zero);
    list.SetItems(4, b);
    list.SetItems(-1, b);
    list.Delete(4);
    list.Delete(-1);
    EXPECT_EQ(items(list), (std::vector<E>{c, a, b, a}));

    EXPECT_EQ(list.Find(a), 1);
    EXPECT_EQ(list.Find(zero), -1);
    list.SetItems(2, c);
    EXPECT_EQ(items(list), (std::vector<E>{c, a, c, a}));
    list.Sort();
    EXPECT_EQ(items(list), (std::vector<E>{a, a, c, c}));
    list.Delete(1);
    EXPECT_EQ(items(list), (std::vector<E>{a, c, c}));

    L copy;
    copy.Add(b);
    copy.Assign(&list);
    EXPECT_EQ(items(copy), items(list));
    copy.Assign(nullptr);
    EXPECT_EQ(copy.GetCount(), 0);
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace

TEST(Klassen, PlainListsShareTheirContract)
{
    plainListContract<TLongWordList, std::uint32_t>(1, 7, 4294967295u, 0);
    plainListContract<TIntegerList, std::int32_t>(-1, 1, 2147483647, 0);
    plainListContract<TDateList, double>(-0.5, 45000.25, 45000.5, 0.0);
    plainListContract<TTextList, QString>(QStringLiteral("ABC"), QStringLiteral("ABCD"),
                                          QStringLiteral("abc"), QString());
}

TEST(Klassen, SortOrdersByElementType)
{
    TLongWordList words;
    for (std::uint32_t v : {4294967295u, 1u, 0u})
        words.Add(v);
    words.Sort();
    EXPECT_EQ(words.Items(), (std::vector<std::uint32_t>{0, 1, 4294967295u}));

    TIntegerList ints;
    for (int v : {1, -1, 0, -2147483647 - 1})
        ints.Add(v);
    ints.Sort();
    EXPECT_EQ(ints.Items(), (std::vector<std::int32_t>{-2147483647 - 1, -1, 0, 1}));

    // Texts by character codes: capitals first, a prefix before the longer text, umlauts last.
    TTextList texts;
    for (const char* t : {"b", "\xC3\x84pfel", "Zebra", "ab", "a", "B"})
        texts.Add(QString::fromUtf8(t));
    texts.Sort();
    EXPECT_EQ(texts.Items(), (std::vector<QString>{"B", "Zebra", "a", "ab", "b",
                                                   QString::fromUtf8("\xC3\x84pfel")}));
    EXPECT_EQ(texts.Find(QStringLiteral("zebra")), -1);
}

TEST(Klassen, SetStaysSortedAndUnique)
{
    TLongWordSet set;
    EXPECT_TRUE(set.Add(5));
    EXPECT_TRUE(set.Add(3));
    EXPECT_FALSE(set.Add(5));
    EXPECT_TRUE(set.Add(1));
    EXPECT_TRUE(set.Add(4294967295u));
    EXPECT_EQ(set.Items(), (std::vector<std::uint32_t>{1, 3, 5, 4294967295u}));

    EXPECT_TRUE(set.Contains(3));
    EXPECT_FALSE(set.Contains(4));
    EXPECT_EQ(set.IndexOf(5), 2);
    EXPECT_EQ(set.IndexOf(2), -1);
    EXPECT_EQ(set.GetItems(9), 0u);

    set.Remove(2);
    EXPECT_EQ(set.GetCount(), 4);
    set.Remove(3);
    EXPECT_EQ(set.Items(), (std::vector<std::uint32_t>{1, 5, 4294967295u}));
    set.Delete(0);
    set.Delete(7);
    EXPECT_EQ(set.Items(), (std::vector<std::uint32_t>{5, 4294967295u}));

    TBasicLongWordList& base = set;
    try {
        base.SetItems(0, 1);
        FAIL() << "SetItems of a set must fail";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "SetItems: Nicht unterstuetzt in TLongWordSet");
    }
    EXPECT_EQ(set.Items(), (std::vector<std::uint32_t>{5, 4294967295u}));
    set.Clear();
    EXPECT_FALSE(set.Contains(5));
}

TEST(Klassen, SortIsStable)
{
    // Equal texts stay in their order: told apart by identity, not value.
    TTextList texts;
    const QString first = QStringLiteral("x");
    QString second = QStringLiteral("y");
    second[0] = QLatin1Char('x');
    texts.Add(QStringLiteral("z"));
    texts.Add(first);
    texts.Add(second);
    texts.Sort();
    EXPECT_EQ(texts.Items()[0].constData(), first.constData());
    EXPECT_EQ(texts.Items()[1].constData(), second.constData());
}
