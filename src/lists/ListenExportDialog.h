#pragma once

#include "ListenExportFormate.h"

#include <QDialog>

#include <optional>

class QRadioButton;

namespace ListenExport {

enum class Ziel { Datei, Ansicht };

struct Auswahl {
    Format format = Format::Excel;
    Ziel ziel = Ziel::Datei;
};

}  // namespace ListenExport

// "Exportiere Liste": the format and whether the export goes to a file the user names or only
// into the program that shows that kind of file.
class TfrmListenExport : public QDialog {
    Q_OBJECT
public:
    explicit TfrmListenExport(QWidget* parent = nullptr);

    ListenExport::Auswahl GewaehlteAuswahl() const;
    QRadioButton* FormatKnopf(ListenExport::Format format) const;
    QRadioButton* InDatei() const { return inDatei_; }
    QRadioButton* NurAnsicht() const { return nurAnsicht_; }

    // Shows the dialog modally; nothing when the user cancels.
    static std::optional<ListenExport::Auswahl> Waehlen(QWidget* parent);

private:
    void ZielPruefen();

    QList<QRadioButton*> formate_;
    QRadioButton* inDatei_;
    QRadioButton* nurAnsicht_;
};
