#pragma once
// The preview component: owns a page store and its preview window, keeps pages and zoom, prints.

#include "Seitenspeicher.h"
#include "VorschauLogik.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QObject;
class QPainter;
class QPrinter;
class QWidget;
class TfmPreview;

using TScale = std::int32_t;  // percent, 1..999

// Where printed pages go. A job is a sequence of pages on one painter.
class PrintOutput {
public:
    virtual ~PrintOutput() = default;
    // False when the user cancelled (for example the file name); throws when the printer fails.
    virtual bool BeginJob(const QString& title, int copies) = 0;
    virtual QPainter& Painter() = 0;
    virtual void NewPage() = 0;
    virtual void EndJob() = 0;
    // A file takes all pages of one print: a job per page would overwrite it page after page.
    virtual bool OneJobPerPrint() const = 0;
    // The print dialog. False when cancelled; otherwise copies and the range (0, 0 for all pages).
    virtual bool AskPages(QWidget* parent, int minPage, int maxPage, int& copies, int& fromPage,
                          int& toPage) = 0;
    // The printer setup dialog; true when the user confirmed it.
    virtual bool Setup(QWidget* parent) = 0;
};

// Prints through a QPrinter: a CUPS printer, or a PDF file whose name the user chooses.
class QPrinterOutput final : public PrintOutput {
public:
    explicit QPrinterOutput(QPrinter& printer);
    ~QPrinterOutput() override;
    bool BeginJob(const QString& title, int copies) override;
    QPainter& Painter() override;
    void NewPage() override;
    void EndJob() override;
    bool OneJobPerPrint() const override;
    bool AskPages(QWidget* parent, int minPage, int maxPage, int& copies, int& fromPage,
                  int& toPage) override;
    bool Setup(QWidget* parent) override;
    // Asks for the PDF file name; an empty answer cancels. The file dialog unless replaced.
    std::function<QString(const QString& vorschlag)> FileNameQuery;

private:
    QPrinter& printer_;
    std::unique_ptr<QPainter> painter_;
    bool fileChosen_ = false;
};

class TPreview {
public:
    // The page store measures and prints for the device; printing goes to output, or to the
    // process-wide printer when the device is that printer. Throws when a part cannot be made.
    explicit TPreview(PrinterDevice& device = SystemPrinter(),
                      std::unique_ptr<PrintOutput> output = {});
    ~TPreview();
    TPreview(const TPreview&) = delete;
    TPreview& operator=(const TPreview&) = delete;

    TPaper& Paper() { return *paper_; }
    // The component owns the store it is given; the previous one is freed.
    void SetPaper(std::unique_ptr<TPaper> value);
    PrintOutput& Output();
    void SetOutput(std::unique_ptr<PrintOutput> value);
    TfmPreview& Form() { return *form_; }

    std::int32_t MaximumSize() const { return maximumSize_; }
    void SetMaximumSize(std::int32_t value);
    TScale MaxScale() const { return maxScale_; }
    void SetMaxScale(TScale value);
    TScale MinScale() const { return minScale_; }
    void SetMinScale(TScale value);
    TScale Scale() const { return scale_; }
    void SetScale(TScale value);
    TScale StepScale() const { return stepScale_; }
    void SetStepScale(TScale value);
    std::int32_t Copies() const { return copies_; }
    void SetCopies(std::int32_t value) { copies_ = value; }
    std::int16_t MinPage() const { return minPage_; }
    void SetMinPage(std::int16_t value);
    std::int16_t MaxPage() const { return maxPage_; }
    void SetMaxPage(std::int16_t value);
    std::int16_t CurrentPage() const { return currentPage_; }
    void SetCurrentPage(std::int16_t value);
    bool PreviewVisible() const { return previewVisible_; }
    const QString& Title() const { return title_; }
    void SetTitle(const QString& value) { title_ = value; }
    // The largest scale at which the page stays within MaximumSize pixels.
    std::uint16_t ScaleLimit() const { return scaleLimit_; }

    // Every print path: one printer job per page, so that a failed page does not cost the others
    // and each page leaves the printer on its own; a PDF file takes all pages in one job.
    void Print();
    void PrintSet();
    void PrintPage(std::int16_t page);
    void PrintPages(std::int16_t fromPage, std::int16_t toPage);
    void PrintEx(std::int16_t page, std::uint16_t scale, std::int32_t copies);
    void FitPage(TFitScale fit);
    void Preview();
    void ZoomIn();
    void ZoomOut();
    void PaperChangeSize();

    std::function<void(TPreview&)> OnPreview;
    std::function<void(TPreview&, std::int16_t page)> OnPrinting;
    std::function<void(TPreview&)> OnChangePage;
    std::function<void(TPreview&)> OnChangeScale;
    std::function<void(TPreview&)> OnClosePreview;
    std::function<void(QObject* sender, bool& changed)> OnShowSetting;
    std::function<void(QObject* sender)> OnPrint;

private:
    void bindPaper();
    void printJob(std::int16_t fromPage, std::int16_t toPage, double scale, int copies);
    void printOnePage(std::int16_t page, double scale);

    std::unique_ptr<TPaper> paper_;
    std::unique_ptr<PrintOutput> output_;
    std::unique_ptr<TfmPreview> form_;
    std::int32_t maximumSize_ = 6000;
    TScale maxScale_ = 750;
    TScale minScale_ = 25;
    TScale scale_ = 100;
    TScale stepScale_ = 25;
    std::int32_t copies_ = 0;
    std::int16_t minPage_ = 1;
    std::int16_t maxPage_ = 1;
    std::int16_t currentPage_ = 1;
    bool previewVisible_ = false;
    QString title_ = QStringLiteral("Preview printing");
    std::uint16_t scaleLimit_ = 750;
};

// The error log of the print engine: "ErrorLog.txt" in the folder given here (the program's data
// folder), or in the user's application data folder until one is given.
void SetErrorLogFolder(const QString& folder);
QString ErrorLogPath();
// Appends "date time : text"; a log that cannot be written is skipped silently.
void WriteToLog(const QString& text);
