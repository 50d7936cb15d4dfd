#include <BesamungConst.h>
#include <BesamungFunc.h>

#include <QSet>

#include <gtest/gtest.h>

namespace {

using BesamungFunc::StationsEintrag;

QList<int> Indexe(const QList<StationsEintrag>& liste)
{
    QList<int> indexe;
    for (const auto& e : liste)
        indexe.append(e.Index);
    return indexe;
}

TEST(BesamungConstTest, TableHoldsTheFixedStationsInTheirOrder)
{
    const auto& s = BesamungConst::Stationen();
    const QStringList feste{"",    "GRUB", "HOECHSTAEDT", "LANDSHUT", "MEGGLE",
                            "BVN", "",     "MEMMINGEN",   "RUW",      "VSTTZ"};
    QSet<QString> codes;
    for (int i = 0; i < BesamungConst::AnzahlStationen; ++i) {
        if (!feste[i].isEmpty()) {
            EXPECT_EQ(s[i].Code, feste[i]) << i;
        }
        EXPECT_EQ(s[i].Code, s[i].Code.toUpper()) << i;
        EXPECT_FALSE(s[i].Name.isEmpty()) << i;
        EXPECT_FALSE(s[i].Kurzname.isEmpty()) << i;
        codes.insert(s[i].Code);
    }
    EXPECT_EQ(codes.size(), BesamungConst::AnzahlStationen);
    EXPECT_TRUE(s[0].Name.endsWith(", Wasserburg"));
    EXPECT_EQ(s[0].Name, s[0].Kurzname + ", Wasserburg");
    EXPECT_EQ(s[6].Name, s[6].Kurzname);
    EXPECT_EQ(s[2].Name, QStringLiteral("Höchstädt"));
    EXPECT_EQ(s[9].Name, QStringLiteral("Vereinigung Südtiroler Tierzuchtverbände"));
    EXPECT_EQ(s[9].Kurzname, QStringLiteral("Südtirol"));
    EXPECT_EQ(s[7].Name, "RBG Memmingen");
    EXPECT_EQ(s[7].Kurzname, "Memmingen");
    for (int i = 0; i < BesamungConst::AnzahlStationen; ++i) {
        const auto erwartet = i == 2 || i == 9 ? BesamungConst::MeldeartHoechstaedt
                              : i == 8         ? BesamungConst::MeldeartRUW
                                               : BesamungConst::MeldeartTriesdorf;
        EXPECT_EQ(s[i].Meldung, erwartet) << i;
    }
}

TEST(BesamungFuncTest, StationIndexComparesExactly)
{
    int index = -1;
    EXPECT_TRUE(BesamungFunc::StationIndex("RUW", index));
    EXPECT_EQ(index, 8);
    EXPECT_TRUE(BesamungFunc::StationIndex(BesamungConst::Stationen()[0].Code, index));
    EXPECT_EQ(index, 0);
    for (const QString falsch : {"ruw", "RUW ", "", "GRU", "XRUW"}) {
        index = 42;
        EXPECT_FALSE(BesamungFunc::StationIndex(falsch, index)) << falsch.toStdString();
        EXPECT_EQ(index, 42);
    }
}

TEST(BesamungFuncTest, ListOfNamedStationsKeepsTheGivenOrder)
{
    const auto liste = BesamungFunc::StationenListe("RUW;UNBEKANNT;GRUB;;MEGGLE", false);
    ASSERT_EQ(Indexe(liste), (QList<int>{8, 1, 4}));
    EXPECT_EQ(liste[0].Name, "Rinder Union West");
    EXPECT_EQ(liste[1].Name, "Grub");
    EXPECT_TRUE(BesamungFunc::StationenListe("", false).isEmpty());
}

TEST(BesamungFuncTest, ListWithExclusionsComparesWholeCodes)
{
    const QString privat = BesamungConst::Stationen()[0].Code;
    struct Fall {
        QString codes;
        QList<int> indexe;
    };
    const QList<Fall> faelle{
        {"GRUB;RUW", {0, 2, 3, 4, 5, 6, 7, 9}},
        {"", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"VSTTZ", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        // A private code that ends in another station's code excludes only itself.
        {"PRIVATRUW;MEGGLE", {0, 1, 2, 3, 5, 6, 7, 8, 9}},
        {"XGRUB;BVNX", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {privat + ";HOECHSTAEDT;LANDSHUT", {1, 4, 5, 6, 7, 8, 9}},
    };
    for (const auto& f : faelle) {
        const auto liste = BesamungFunc::StationenListe(f.codes, true);
        EXPECT_EQ(Indexe(liste), f.indexe) << f.codes.toStdString();
        for (const auto& e : liste)
            EXPECT_EQ(e.Name, BesamungConst::Stationen()[e.Index].Name);
    }
}

}  // namespace
