#include "Shell.h"

#include <QApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <iterator>

namespace {

TShell* aktuell = nullptr;

}  // namespace

TShell::TShell()
{
    aktuell = this;
}

TShell::~TShell()
{
    if (aktuell == this)
        aktuell = nullptr;
}

TShell* TShell::Aktuell()
{
    return aktuell;
}

QMdiSubWindow* TShell::Zeigen(TShell* shell, QWidget* fenster, QWidget* parent)
{
    fenster->setAttribute(Qt::WA_DeleteOnClose);
    if (shell && shell->MdiArea()) {
        QMdiSubWindow* kind = shell->MdiArea()->addSubWindow(fenster);
        kind->setAttribute(Qt::WA_DeleteOnClose);
        kind->showMaximized();
        return kind;
    }
    fenster->setParent(parent, Qt::Window);
    fenster->showMaximized();
    return nullptr;
}

namespace {

struct Bild {
    const char* thema;
    QStyle::StandardPixmap ersatz;
};

// The pictures of the image list by index: the desktop's icon theme where it has one, otherwise
// the style's standard picture.
const Bild bilder[] = {
    {"document-edit", QStyle::SP_FileDialogDetailedView},         // 0 animal card
    {"x-office-spreadsheet", QStyle::SP_FileDialogContentsView},  // 1 milk recording
    {"document-import", QStyle::SP_ArrowDown},                    // 2 import
    {"go-jump", QStyle::SP_DriveHDIcon},                          // 3 milk deliveries
    {"network-transmit", QStyle::SP_DriveNetIcon},                // 4 national database
    {"document-print", QStyle::SP_DialogSaveButton},              // 5 print
    {"view-list-details", QStyle::SP_FileDialogListView},         // 6 list choice
    {"preferences-system", QStyle::SP_ComputerIcon},              // 7 settings
    {"appointment-new", QStyle::SP_FileDialogInfoView},           // 8 appointments
    {"text-x-generic", QStyle::SP_FileIcon},                      // 9
    {"mail-send", QStyle::SP_CommandLink},                        // 10 insemination reports
    {"folder", QStyle::SP_DirIcon},                               // 11
    {"go-home", QStyle::SP_DirHomeIcon},                          // 12 premises
    {"view-refresh", QStyle::SP_BrowserReload},                   // 13 premises change
    {"view-calendar-list", QStyle::SP_FileDialogNewFolder},       // 14 events
    {"x-office-calendar", QStyle::SP_DialogYesButton},            // 15 calving journal
    {"edit-find", QStyle::SP_FileDialogStart},                    // 16
    {"emblem-documents", QStyle::SP_DialogApplyButton},           // 17 feed list
    {"document-open", QStyle::SP_DialogOpenButton},               // 18
    {"applications-science", QStyle::SP_MessageBoxWarning},       // 19 treatments
    {"x-office-document", QStyle::SP_FileDialogToParent},         // 20 herd
    {"accessories-dictionary", QStyle::SP_TitleBarNormalButton},  // 21 register
    {"office-chart-line", QStyle::SP_MediaSeekForward},           // 22 calving interval
};

}  // namespace

int SymbolbildAnzahl()
{
    return int(std::size(bilder));
}

QIcon Symbolbild(int index)
{
    if (index < 0 || index >= int(std::size(bilder)))
        return {};
    const QIcon thema = QIcon::fromTheme(QString::fromLatin1(bilder[index].thema));
    return thema.isNull() ? QApplication::style()->standardIcon(bilder[index].ersatz) : thema;
}
