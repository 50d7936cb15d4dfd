#pragma once
// The print base of every report: the program's page footer on top of the print job.

#include "Druckauftrag.h"

#include <QString>

// Reports follow one pattern: InitDruck (inherited, then margins, orientation, title, data),
// Seitenrahmen (inherited footer, then Pos := top margin and the header), NeueSeite (inherited,
// then Seitenrahmen), DruckeInhalt (InitDruck, Seitenrahmen, the body with CheckNeueSeite before
// each record; at the end, also on failure, close the data and set the preview's MaxPage to
// AktSeite).
class TDrucken : public TDruck {
public:
    // The print engine's error log goes to the program's data folder once settings exist.
    explicit TDrucken(PrinterDevice& device = SystemPrinter(),
                      std::unique_ptr<PrintOutput> output = {});

    // The notice printed at the right end of every footer.
    static QString Produkthinweis();

    // The footer one millimetre under the bottom margin: the notice right-aligned at the right
    // margin, "Seite n" centred at 40 % of the usable width. Pos stays on the footer line.
    void Seitenrahmen() override;

protected:
    // Pages of the orientation with one margin on all four sides (tenths of a millimetre) and
    // the preview's title.
    void SeiteEinrichten(TPrinterOrientation ausrichtung, int rand, const QString& titel);
};
