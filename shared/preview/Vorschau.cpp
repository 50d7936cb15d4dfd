#include "Vorschau.h"

#include "VorschauFenster.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QTextStream>

#include <algorithm>
#include <mutex>
#include <stdexcept>

namespace {

QString fileNameFromDialog(const QString& vorschlag)
{
    return QFileDialog::getSaveFileName(nullptr, QStringLiteral("Druck in eine PDF-Datei"),
                                        vorschlag, QStringLiteral("PDF-Dateien (*.pdf)"));
}

// A title as a file name: no folders, no characters that file systems refuse.
QString fileNameOfTitle(const QString& title)
{
    QString name = title.trimmed();
    for (QChar& c : name)
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|')
            c = '_';
    return name.isEmpty() ? QStringLiteral("Druck") : name;
}

// Ends a job also when a page fails on the way.
class JobGuard {
public:
    explicit JobGuard(PrintOutput& output) : output_(output) {}
    ~JobGuard() { output_.EndJob(); }
    JobGuard(const JobGuard&) = delete;
    JobGuard& operator=(const JobGuard&) = delete;

private:
    PrintOutput& output_;
};

std::mutex logMutex;
QString logFolder;

}  // namespace

QPrinterOutput::QPrinterOutput(QPrinter& printer)
    : FileNameQuery(fileNameFromDialog), printer_(printer)
{
}

QPrinterOutput::~QPrinterOutput() = default;

bool QPrinterOutput::BeginJob(const QString& title, int copies)
{
    printer_.setDocName(title);
    printer_.setCopyCount(std::max(1, copies));
    if (printer_.outputFormat() == QPrinter::PdfFormat && !fileChosen_) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QString name = FileNameQuery(QDir(folder).filePath(fileNameOfTitle(title) + ".pdf"));
        if (name.isEmpty())
            return false;
        if (QFileInfo(name).suffix().isEmpty())
            name += QStringLiteral(".pdf");
        printer_.setOutputFileName(name);
    }
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&printer_)) {
        fileChosen_ = false;
        throw std::runtime_error(
            QStringLiteral("Der Druck auf \"%1\" konnte nicht begonnen werden.")
                .arg(printer_.outputFormat() == QPrinter::PdfFormat ? printer_.outputFileName()
                                                                    : printer_.printerName())
                .toStdString());
    }
    painter_ = std::move(painter);
    return true;
}

QPainter& QPrinterOutput::Painter()
{
    if (!painter_)
        throw std::logic_error("Es läuft kein Druckauftrag.");
    return *painter_;
}

void QPrinterOutput::NewPage()
{
    if (!printer_.newPage())
        throw std::runtime_error("Der Drucker nimmt keine weitere Seite an.");
}

void QPrinterOutput::EndJob()
{
    fileChosen_ = false;
    if (!painter_)
        return;
    painter_->end();
    painter_.reset();
}

bool QPrinterOutput::OneJobPerPrint() const
{
    return printer_.outputFormat() == QPrinter::PdfFormat;
}

bool QPrinterOutput::AskPages(QWidget* parent, int minPage, int maxPage, int& copies, int& fromPage,
                              int& toPage)
{
    printer_.setCopyCount(std::max(1, copies));
    QPrintDialog dialog(&printer_, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(minPage, maxPage);
    dialog.setFromTo(minPage, maxPage);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    copies = printer_.copyCount();
    if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
        fromPage = dialog.fromPage();
        toPage = dialog.toPage();
    } else {
        fromPage = toPage = 0;
    }
    fileChosen_ =
        printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty();
    return true;
}

bool QPrinterOutput::Setup(QWidget* parent)
{
    QPageSetupDialog dialog(&printer_, parent);
    return dialog.exec() == QDialog::Accepted;
}

TPreview::TPreview(PrinterDevice& device, std::unique_ptr<PrintOutput> output)
    : output_(std::move(output))
{
    const auto erzeugen = [](const char* name, auto&& schritt) {
        try {
            schritt();
        } catch (...) {
            WriteToLog(QStringLiteral("Unit <Preview>: Error in creating object \"%1\"").arg(name));
            throw;
        }
    };
    erzeugen("Paper", [&] { paper_ = std::make_unique<TPaper>(device); });
    if (!output_) {
        if (auto* system = dynamic_cast<SystemPrinterDevice*>(&device))
            output_ = std::make_unique<QPrinterOutput>(system->printer());
    }
    bindPaper();
    erzeugen("fmPreview", [&] { form_ = std::make_unique<TfmPreview>(*this); });
}

TPreview::~TPreview() = default;

void TPreview::bindPaper()
{
    paper_->OnChangeSize = [this] { PaperChangeSize(); };
}

void TPreview::SetPaper(std::unique_ptr<TPaper> value)
{
    if (!value)
        throw std::invalid_argument("Der Vorschau fehlt der Seitenspeicher.");
    if (value == paper_)
        return;
    paper_ = std::move(value);
    bindPaper();
    PaperChangeSize();
}

PrintOutput& TPreview::Output()
{
    if (!output_)
        throw std::runtime_error("Für diesen Drucker ist keine Druckausgabe eingerichtet.");
    return *output_;
}

void TPreview::SetOutput(std::unique_ptr<PrintOutput> value)
{
    output_ = std::move(value);
}

void TPreview::SetMaximumSize(std::int32_t value)
{
    if (value == maximumSize_)
        return;
    maximumSize_ = value;
    const int limit = SkalierungsGrenze(maximumSize_, paper_->Width(), paper_->Height());
    if (limit > 0)
        scaleLimit_ = std::uint16_t(std::min(limit, 65535));
    if (maxScale_ > scaleLimit_)
        maxScale_ = scaleLimit_;
}

void TPreview::PaperChangeSize()
{
    const int limit = SkalierungsGrenze(maximumSize_, paper_->Width(), paper_->Height());
    if (limit > 0)
        scaleLimit_ = std::uint16_t(std::min(limit, 65535));
    if (maxScale_ > scaleLimit_)
        maxScale_ = scaleLimit_;
    if (scale_ > maxScale_)
        scale_ = maxScale_;
}

void TPreview::SetMaxScale(TScale value)
{
    value = std::clamp(value, 1, 999);
    if (value == maxScale_)
        return;
    maxScale_ = std::min<TScale>(value, scaleLimit_);
}

void TPreview::SetMinScale(TScale value)
{
    if (value == minScale_ || value < 1 || value > maxScale_)
        return;
    minScale_ = value;
    if (OnChangeScale)
        OnChangeScale(*this);
}

void TPreview::SetScale(TScale value)
{
    if (value == scale_ || value < minScale_ || value > maxScale_)
        return;
    scale_ = value;
    if (OnChangeScale)
        OnChangeScale(*this);
}

void TPreview::SetStepScale(TScale value)
{
    if (value == stepScale_ || value < minScale_ || value > maxScale_)
        return;
    stepScale_ = value;
    if (OnChangeScale)
        OnChangeScale(*this);
}

void TPreview::SetCurrentPage(std::int16_t value)
{
    if (value == currentPage_ || value < minPage_ || value > maxPage_)
        return;
    currentPage_ = value;
    if (OnChangePage)
        OnChangePage(*this);
}

void TPreview::SetMinPage(std::int16_t value)
{
    if (value == minPage_ || value > maxPage_)
        return;
    minPage_ = value;
    if (currentPage_ < minPage_)
        currentPage_ = minPage_;
}

void TPreview::SetMaxPage(std::int16_t value)
{
    if (value == maxPage_ || value < minPage_)
        return;
    maxPage_ = value;
    if (currentPage_ > maxPage_)
        currentPage_ = maxPage_;
}

void TPreview::printOnePage(std::int16_t page, double scale)
{
    paper_->DrawToCanvas(Output().Painter(), scale, page, true);
    if (OnPrinting)
        OnPrinting(*this, page);
}

void TPreview::printJob(std::int16_t fromPage, std::int16_t toPage, double scale, int copies)
{
    PrintOutput& output = Output();
    if (!output.BeginJob(title_, copies))
        return;
    JobGuard guard(output);
    for (int page = fromPage; page <= toPage; ++page) {
        if (page != fromPage)
            output.NewPage();
        printOnePage(std::int16_t(page), scale);
    }
}

void TPreview::Print()
{
    PrintPages(minPage_, maxPage_);
}

void TPreview::PrintPages(std::int16_t fromPage, std::int16_t toPage)
{
    if (toPage < fromPage)
        return;
    if (Output().OneJobPerPrint()) {
        printJob(fromPage, toPage, 100, copies_);
        return;
    }
    for (int page = fromPage; page <= toPage; ++page)
        printJob(std::int16_t(page), std::int16_t(page), 100, copies_);
}

void TPreview::PrintPage(std::int16_t page)
{
    printJob(page, page, 100, copies_);
}

void TPreview::PrintEx(std::int16_t page, std::uint16_t scale, std::int32_t copies)
{
    copies_ = copies;
    printJob(page, page, scale, copies);
}

void TPreview::PrintSet()
{
    PrintOutput& output = Output();
    int copies = copies_;
    int fromPage = 0;
    int toPage = 0;
    QWidget* parent = previewVisible_ ? form_.get() : nullptr;
    if (!output.AskPages(parent, minPage_, maxPage_, copies, fromPage, toPage))
        return;
    copies_ = copies;
    if (fromPage == 0 && toPage == 0) {
        fromPage = minPage_;
        toPage = maxPage_;
    }
    fromPage = std::max<int>(fromPage, minPage_);
    toPage = std::min<int>(toPage, maxPage_);
    if (toPage < fromPage)
        return;
    printJob(std::int16_t(fromPage), std::int16_t(toPage), 100, copies_);
}

void TPreview::FitPage(TFitScale fit)
{
    if (!previewVisible_)
        return;
    const QRect area = form_->PaintRect();
    const int scale =
        EinpassSkalierung(fit, area.width(), area.height(), paper_->Width(), paper_->Height());
    if (scale > 0)
        SetScale(scale);
}

void TPreview::Preview()
{
    struct Sichtbar {
        bool& flag;
        explicit Sichtbar(bool& f) : flag(f) { flag = true; }
        ~Sichtbar() { flag = false; }
    } sichtbar(previewVisible_);
    if (OnPreview)
        OnPreview(*this);
    form_->Zuruecksetzen();
    form_->exec();
    if (OnClosePreview)
        OnClosePreview(*this);
}

void TPreview::ZoomIn()
{
    const int neu = ZoomInSchritt(scale_, stepScale_, maxScale_);
    if (neu != scale_)
        SetScale(neu);
}

void TPreview::ZoomOut()
{
    const int neu = ZoomOutSchritt(scale_, stepScale_, minScale_);
    if (neu != scale_)
        SetScale(neu);
}

void SetErrorLogFolder(const QString& folder)
{
    std::lock_guard<std::mutex> lock(logMutex);
    logFolder = folder;
}

QString ErrorLogPath()
{
    std::lock_guard<std::mutex> lock(logMutex);
    const QString folder = logFolder.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                               : logFolder;
    return QDir(folder).filePath(QStringLiteral("ErrorLog.txt"));
}

void WriteToLog(const QString& text)
{
    try {
        const QString path = ErrorLogPath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        std::lock_guard<std::mutex> lock(logMutex);
        QFile file(path);
        if (!file.open(QIODevice::Append | QIODevice::Text))
            return;
        QTextStream out(&file);
        const QDateTime now = QDateTime::currentDateTime();
        const QLocale locale;
        out << locale.toString(now.date(), QLocale::ShortFormat) << ' '
            << locale.toString(now.time(), QLocale::ShortFormat) << " : " << text << '\n';
    } catch (...) {
        // The log is the last resort of error reporting; it must not raise itself.
    }
}
