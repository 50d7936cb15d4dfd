#include <CheckMessageBox.h>
#include <Format.h>
#include <Meldung.h>
#include <MeldungDialog.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>

#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>

#include <gtest/gtest.h>

using namespace Tools;

namespace {

QStringList captions(QDialog& dialog)
{
    QStringList out;
    for (QPushButton* b : static_cast<TMeldungDialog&>(dialog).pushButtons())
        out << b->text().remove(QLatin1Char('&'));
    return out;
}

struct ButtonCase {
    TMsgDlgButtons buttons;
    int defaultButton;
    QStringList shownOrder;
    std::function<void(QDialog&)> answer;
    std::uint16_t expected;
};

}  // namespace

TEST(Meldung, ButtonOrderResultsAndDefaultButton)
{
    const std::vector<ButtonCase> cases = {
        // Own default: OK before Yes before Retry.
        {mbOKOnly, 0, {"OK"}, MessageBoxScript::Enter(), mrOk},
        {mbYesNo, 0, {"Ja", "Nein"}, MessageBoxScript::Enter(), mrYes},
        {mbYesNo, 1, {"Ja", "Nein"}, MessageBoxScript::Enter(), mrNo},
        {mbOKCancel, 1, {"OK", "Abbrechen"}, MessageBoxScript::Enter(), mrCancel},
        {mbRetryCancel, 0, {"Abbrechen", "Wiederholen"}, MessageBoxScript::Enter(), mrRetry},
        // An index beyond the last button keeps the box's own choice.
        {mbYesNo, 5, {"Ja", "Nein"}, MessageBoxScript::Enter(), mrYes},
        {mbYesNo | Btn(mbYesToAll),
         0,
         {"Ja", "Nein", "Ja für alle"},
         MessageBoxScript::Click(mrYesToAll),
         mrYesToAll},
        {mbYesNo | Btn(mbYesToAll),
         2,
         {"Ja", "Nein", "Ja für alle"},
         MessageBoxScript::Enter(),
         mrYesToAll},
        {Btn(mbAbort) | Btn(mbRetry) | Btn(mbIgnore),
         2,
         {"Abbruch", "Wiederholen", "Ignorieren"},
         MessageBoxScript::Enter(),
         mrIgnore},
        {Btn(mbAll) | Btn(mbNoToAll),
         1,
         {"Alle", "Nein für alle"},
         MessageBoxScript::Enter(),
         mrNoToAll},
        {Btn(mbAll) | Btn(mbNoToAll),
         0,
         {"Alle", "Nein für alle"},
         MessageBoxScript::Click(mrAll),
         mrAll},
        // Escape answers as the cancel button, else No, else OK.
        {mbYesNoCancel, 0, {"Ja", "Nein", "Abbrechen"}, MessageBoxScript::Escape(), mrCancel},
        {mbYesNo, 0, {"Ja", "Nein"}, MessageBoxScript::Escape(), mrNo},
        {mbOKOnly, 0, {"OK"}, MessageBoxScript::Escape(), mrOk},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.buttons);
        SCOPED_TRACE(c.defaultButton);
        MessageBoxScript script;
        QStringList seen;
        script.Answer(c.answer, [&](QDialog& d) { seen = captions(d); });
        const auto result = Meldung(QStringLiteral("Frage"), mtConfirmation, c.buttons, 0,
                                    DefaultButton(c.defaultButton));
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(seen, c.shownOrder);
    }
}

TEST(Meldung, ShorthandsTypeSoundAndText)
{
    MessageBoxScript script;
    script.Answer(MessageBoxScript::Enter())
        .Answer(MessageBoxScript::Enter())
        .Answer(MessageBoxScript::Enter())
        .Answer(MessageBoxScript::Enter())
        .Answer(MessageBoxScript::Enter());
    EXPECT_EQ(MeldungInfo(QStringLiteral("Zeile 1\rZeile 2")), mrOk);
    EXPECT_EQ(MeldungWarning(QStringLiteral("%d Tiere, %s"), {3, QStringLiteral("gut")}), mrOk);
    EXPECT_EQ(MeldungError(QStringLiteral("kaputt")), mrOk);
    EXPECT_EQ(MeldungConfirm(QStringLiteral("Löschen?"), 1), mrNo);
    EXPECT_EQ(MeldungConfirmFormat(QStringLiteral("Tier %s löschen?"), {QStringLiteral("A")}, 0),
              mrYes);

    const auto& shown = script.Shown();
    ASSERT_EQ(shown.size(), 5);
    EXPECT_EQ(shown[0].type, mtInformation);
    EXPECT_EQ(shown[0].text, QStringLiteral("Zeile 1\rZeile 2"));
    EXPECT_EQ(shown[0].sound, SoundExclamation);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(shown[1].type, mtWarning);
    EXPECT_EQ(shown[1].text, QStringLiteral("3 Tiere, gut"));
    EXPECT_EQ(shown[1].sound, SoundQuestion);
    EXPECT_EQ(shown[2].type, mtError);
    EXPECT_EQ(shown[2].sound, SoundExclamation);
    EXPECT_EQ(shown[3].type, mtConfirmation);
    EXPECT_EQ(shown[3].buttons, mbYesNo);
    EXPECT_EQ(shown[3].sound, SoundQuestion);
    EXPECT_EQ(shown[4].text, QStringLiteral("Tier A löschen?"));
}

TEST(Meldung, FormatMismatchFailsBeforeAnyBox)
{
    MessageBoxScript script;
    EXPECT_THROW(MeldungInfo(QStringLiteral("%d Tiere"), {QStringLiteral("drei")}), EFormatError);
    EXPECT_THROW(MeldungError(QStringLiteral("%s und %s"), {QStringLiteral("eins")}), EFormatError);
    EXPECT_TRUE(script.Shown().isEmpty());
}

TEST(Format, PlaceholdersUseTheSystemsDecimalComma)
{
    struct Case {
        const char* format;
        QVariantList args;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"%s", {QStringLiteral("ä")}, "ä"},
        {"%5d|%-4d|", {42, 7}, "   42|7   |"},
        {"%.3d", {5}, "005"},
        {"%d", {-12}, "-12"},
        {"%.2f", {1234.5}, "1234,50"},
        {"%f", {-0.004}, "0,00"},
        {"%n", {1234567.891}, "1.234.567,89"},
        {"%x", {255}, "FF"},
        {"100%%", {}, "100%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Format(QString::fromUtf8(c.format), c.args), QString::fromUtf8(c.expected))
            << c.format;
    EXPECT_THROW(Format(QStringLiteral("%"), {}), EFormatError);
    EXPECT_THROW(Format(QStringLiteral("%q"), {1}), EFormatError);
    EXPECT_THROW(Format(QStringLiteral("%f"), {QStringLiteral("x")}), EFormatError);
}

TEST(CheckMessageDlg, KeepsTheCheckBoxStateAlsoOnNo)
{
    MessageBoxScript script;
    script.Answer(MessageBoxScript::Click(mrNo), [](QDialog& d) {
        auto* box = d.findChild<QCheckBox*>(QStringLiteral("CheckBox"));
        ASSERT_NE(box, nullptr);
        box->click();
    });
    bool state = false;
    const auto result =
        CheckMessageDlg(QStringLiteral("Nach Updates suchen?"), mtConfirmation, mbYesNo,
                        QStringLiteral("In Zukunft nicht mehr auf Updates prüfen"), state);
    EXPECT_EQ(result, mrNo);
    EXPECT_TRUE(state);
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_EQ(script.Shown()[0].checkCaption,
              QStringLiteral("In Zukunft nicht mehr auf Updates prüfen"));

    script.Answer(MessageBoxScript::Enter());
    bool unchanged = true;
    EXPECT_EQ(CheckMessageDlg(QStringLiteral("?"), mtConfirmation, mbYesNo, QStringLiteral("x"),
                              unchanged, DefaultButton(1)),
              mrNo);
    EXPECT_TRUE(unchanged);
}

TEST(Meldung, LongTextsWrapToFitTheScreenAndTextStaysPlain)
{
    QString datenbankFehler = QStringLiteral(
        "Die Änderung konnte nicht gespeichert werden:\rviolation of FOREIGN KEY constraint "
        "\"FK_BEHANDLUNG_TIER\" on table \"BEHANDLUNG\"");
    for (int i = 0; i < 12; ++i)
        datenbankFehler += QStringLiteral(
                               " Foreign key reference target does not exist, "
                               "Problematic key value is (\"TIER_ID\" = %1)")
                               .arg(4711 + i);
    QStringList tiere;
    for (int i = 1; i <= 120; ++i)
        tiere << QStringLiteral("DE 0934%1 Berta").arg(i, 6, 10, QLatin1Char('0'));
    const struct {
        const char* fall;
        QString text;
        QString png;
    } faelle[] = {
        {"database error", datenbankFehler, QStringLiteral("meldung_lang.png")},
        {"many lines", QStringLiteral("Nicht gefunden:\r") + tiere.join(QLatin1Char('\r')),
         QStringLiteral("meldung_zeilen.png")},
        {"word longer than a line",
         QStringLiteral("Datei fehlt: ") + QString(300, QLatin1Char('x')),
         QStringLiteral("meldung_wort.png")},
        {"markup as typed", QStringLiteral("Kuh <b>Berta</b> & <i>Anna</i>"),
         QStringLiteral("meldung_markup.png")},
    };
    const QRect bildschirm = QGuiApplication::primaryScreen()->availableGeometry();
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.fall);
        MessageBoxScript script;
        script.Answer(MessageBoxScript::Enter(), [&](QDialog& d) {
            EXPECT_TRUE(bildschirm.contains(d.frameGeometry())) << d.width() << "x" << d.height();
            auto* text = d.findChild<QLabel*>(QStringLiteral("Message"));
            ASSERT_NE(text, nullptr);
            // Every line of the wrapped text is there: the label is as high and as wide as its
            // text needs (it scrolls when that is more than the screen has).
            EXPECT_GE(text->height(), text->heightForWidth(text->width()));
            for (const QString& wort : f.text.split(QRegularExpression(QStringLiteral("\\s"))))
                EXPECT_GE(text->width(), text->fontMetrics().horizontalAdvance(wort));
            // What the user sees and copies is the text as it was given.
            text->setSelection(0, int(f.text.size()));
            EXPECT_EQ(text->selectedText(),
                      QString(f.text).replace(QLatin1Char('\r'), QChar::ParagraphSeparator));
            text->setSelection(0, 0);
            Bildschirmfoto(d, f.png);
        });
        EXPECT_EQ(MeldungError(f.text), mrOk);
    }

    // The check box variant wraps the same way.
    MessageBoxScript script;
    script.Answer(MessageBoxScript::Enter(), [&](QDialog& d) {
        EXPECT_TRUE(bildschirm.contains(d.frameGeometry())) << d.width() << "x" << d.height();
    });
    bool haken = false;
    CheckMessageDlg(datenbankFehler, mtWarning, mbOKOnly, QStringLiteral("Nicht mehr zeigen"),
                    haken);
}
