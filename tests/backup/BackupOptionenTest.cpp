#include <BackupOptionen.h>

#include <ScopedEnv.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Fall {
    const char* name;
    QStringList argumente;  // after the program's name
    bool posix;
    std::optional<bool> ruecksicherung;
    bool start;
    bool still;
    std::optional<QString> ordner;
    std::optional<QString> archiv;
};

TEST(BackupOptionenTest, CommandLines)
{
    const std::vector<Fall> faelle = {
        {"the conduit's call",
         {"-b", "-f", "-a", "s", "-v", "/opt/zr/", "-d", "/srv/sicherung/vor-hotsync.zip"},
         false,
         false,
         true,
         true,
         QString("/opt/zr/"),
         QString("/srv/sicherung/vor-hotsync.zip")},
        {"-F alone is -f", {"-F"}, false, std::nullopt, false, true, std::nullopt, std::nullopt},
        {"-a R restores", {"-a", "R"}, false, true, false, false, std::nullopt, std::nullopt},
        {"-a r trimmed restores",
         {"-a", " r "},
         false,
         true,
         false,
         false,
         std::nullopt,
         std::nullopt},
        {"-a x backs up", {"-a", "x"}, false, false, false, false, std::nullopt, std::nullopt},
        {"-a rr backs up", {"-a", "rr"}, false, false, false, false, std::nullopt, std::nullopt},
        {"upper-case twins, trimmed",
         {"-B", "-A", "r", "-V", "  /opt/Bovantis 3/ ", "-D", " a.zip "},
         false,
         true,
         true,
         false,
         QString("/opt/Bovantis 3/"),
         QString("a.zip")},
        {"bundled switches", {"-bf"}, false, std::nullopt, true, true, std::nullopt, std::nullopt},
        {"argument glued to its option",
         {"-d/tmp/x.zip", "-ar"},
         false,
         true,
         false,
         false,
         std::nullopt,
         QString("/tmp/x.zip")},
        {"an undeclared option before -d leaves the default archive",
         {"-b", "-x", "-d", "/tmp/x.zip"},
         false,
         std::nullopt,
         true,
         false,
         std::nullopt,
         std::nullopt},
        {"a missing argument ends the options",
         {"-b", "-v"},
         false,
         std::nullopt,
         true,
         false,
         std::nullopt,
         std::nullopt},
        {"an option takes the next word as its argument",
         {"-v", "-d", "-b"},
         false,
         std::nullopt,
         true,
         false,
         QString("-d"),
         std::nullopt},
        {"-- ends the options",
         {"-f", "--", "-b"},
         false,
         std::nullopt,
         false,
         true,
         std::nullopt,
         std::nullopt},
        {"options after a plain argument count",
         {"datei", "-b", "-a", "r"},
         false,
         true,
         true,
         false,
         std::nullopt,
         std::nullopt},
        {"POSIXLY_CORRECT: a plain argument ends the options",
         {"-f", "datei", "-b", "-a", "r"},
         true,
         std::nullopt,
         false,
         true,
         std::nullopt,
         std::nullopt},
        {"POSIXLY_CORRECT: options before it count",
         {"-b", "-d", "x.zip", "datei"},
         true,
         std::nullopt,
         true,
         false,
         std::nullopt,
         QString("x.zip")},
        {"no arguments", {}, false, std::nullopt, false, false, std::nullopt, std::nullopt},
    };
    ASSERT_FALSE(qEnvironmentVariableIsSet("POSIXLY_CORRECT"));
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        std::unique_ptr<ScopedEnv> posix;
        if (f.posix)
            posix = std::make_unique<ScopedEnv>("POSIXLY_CORRECT", "1");
        const BackupOptionen o = BackupOptionenLesen(QStringList{"ZRNVBackup"} + f.argumente);
        EXPECT_EQ(o.ruecksicherung, f.ruecksicherung);
        EXPECT_EQ(o.start, f.start);
        EXPECT_EQ(o.still, f.still);
        EXPECT_EQ(o.programmverzeichnis, f.ordner);
        EXPECT_EQ(o.sicherungsdatei, f.archiv);
    }
}

// Every call reads afresh: the state of an earlier call that stopped early does not carry over.
TEST(BackupOptionenTest, EachCallStartsAtTheFirstArgument)
{
    EXPECT_FALSE(BackupOptionenLesen({"ZRNVBackup", "-b", "-x", "-f"}).still);
    EXPECT_TRUE(BackupOptionenLesen({"ZRNVBackup", "-f"}).still);
    {
        ScopedEnv posix("POSIXLY_CORRECT", "1");
        EXPECT_FALSE(BackupOptionenLesen({"ZRNVBackup", "datei", "-f"}).still);
    }
    EXPECT_TRUE(BackupOptionenLesen({"ZRNVBackup", "datei", "-f"}).still);
}

}  // namespace
