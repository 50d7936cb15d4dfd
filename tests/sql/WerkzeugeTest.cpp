// The engine's own tools work with the herd database: gbak saves and restores it (triggers,
// procedures and extension-function calls included) and isql opens the result.

#include <TestDatabase.h>

#include <EngineRoot.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString Ausfuehren(const QString& programm, const QStringList& argumente,
                   const QByteArray& eingabe = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), db::PrepareEngineRoot());
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programm, argumente);
    if (!p.waitForStarted())
        return QStringLiteral("%1 startet nicht").arg(programm);
    p.write(eingabe);
    p.closeWriteChannel();
    if (!p.waitForFinished(120000))
        return QStringLiteral("%1 endet nicht").arg(programm);
    const QString ausgabe = QString::fromLocal8Bit(p.readAll());
    return p.exitCode() == 0 ? ausgabe
                             : QStringLiteral("Fehler %1: %2").arg(p.exitCode()).arg(ausgabe);
}

TEST(WerkzeugeTest, GbakSavesAndRestoresTheDatabaseAndIsqlOpensIt)
{
    TestDatabase t;
    t.Db().Close();
    QTemporaryDir dir;
    const QString sicherung = dir.filePath(QStringLiteral("herde.fbk"));
    const QString neu = dir.filePath(QStringLiteral("herde.fdb"));
    const QString benutzer = QStringLiteral("BOVANTIS");
    EXPECT_FALSE(Ausfuehren(QStringLiteral("gbak"), {QStringLiteral("-b"), QStringLiteral("-user"),
                                                     benutzer, t.Path(), sicherung})
                     .startsWith(QStringLiteral("Fehler")));
    EXPECT_FALSE(Ausfuehren(QStringLiteral("gbak"), {QStringLiteral("-c"), QStringLiteral("-user"),
                                                     benutzer, sicherung, neu})
                     .startsWith(QStringLiteral("Fehler")));
    const QString ausgabe = Ausfuehren(
        QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-user"), benutzer, neu},
        "SET LIST ON;\n"
        "SELECT COUNT(*) AS RASSEN FROM T_RASSEN;\n"
        "INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) "
        "VALUES ('DE 0112345678', '01.01.2024', 'W', 1) RETURNING ID AS NEUES_TIER;\n"
        "SELECT WERT AS UNTERVERSION FROM T_EINSTELLUNGEN WHERE NAME = 'Unterversion';\n"
        "ROLLBACK;\n");
    EXPECT_TRUE(ausgabe.contains(QRegularExpression(QStringLiteral("RASSEN\\s+99"))))
        << ausgabe.toStdString();
    EXPECT_TRUE(ausgabe.contains(QRegularExpression(QStringLiteral("NEUES_TIER\\s+\\d+"))))
        << ausgabe.toStdString();
    EXPECT_TRUE(ausgabe.contains(QRegularExpression(QStringLiteral("UNTERVERSION\\s+29"))))
        << ausgabe.toStdString();
}

}  // namespace
