#pragma once
// Paper formats, units, margins and the printer setup that gives a page store its page.

#include <QPaintDevice>
#include <QPoint>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QPrinter;

enum TPaperFormat : std::uint8_t {
    pfLETTER,
    pfTABLOID,
    pfLEDGER,
    pfLEGAL,
    pfSTATEMENT,
    pfEXECUTIVE,
    pfA3,
    pfA4,
    pfA5,
    pfB4,
    pfB5,
    pfFOLIO,
    pfQUARTO,
    pf10X14,
    pf11X17,
    pfNOTE,
    pfENV_9,
    pfENV_10,
    pfENV_11,
    pfENV_12,
    pfENV_14,
    pfCSHEET,
    pfDSHEET,
    pfESHEET,
    pfENV_DL,
    pfENV_C5,
    pfENV_C3,
    pfENV_C4,
    pfENV_C6,
    pfENV_C65,
    pfENV_B4,
    pfENV_B5,
    pfENV_B6,
    pfENV_ITALY,
    pfENV_MONARCH,
    pfENV_PERSONAL,
    pfFANFOLD_US,
    pfFANFOLD_STD_GERMAN,
    pfFANFOLD_LGL_GERMAN,
    pfISO_B4,
    pfJAPANESE_POSTCARD,
    pf9X11,
    pf10X11,
    pf15X11,
    pfENV_INVITE,
    pfLETTER_EXTRA,
    pfLEGAL_EXTRA,
    pfTABLOID_EXTRA,
    pfA4_EXTRA,
    pfLETTER_TRANSVERSE,
    pfA4_TRANSVERSE,
    pfLETTER_EXTRA_TRANSVERSE,
    pfA_PLUS,
    pfB_PLUS,
    pfLETTER_PLUS,
    pfA4_PLUS,
    pfA5_TRANSVERSE,
    pfB5_TRANSVERSE,
    pfA3_EXTRA,
    pfA5_EXTRA,
    pfB5_EXTRA,
    pfA2,
    pfA3_TRANSVERSE,
    pfA3_EXTRA_TRANSVERSE,
    pfDBL_JAPANESE_POSTCARD,
    pfA6,
    pfP16K,
    pfP32K,
    pfPENV_1,
    pfPENV_2,
    pfPENV_3,
    pfPENV_4,
    pfPENV_5,
    pfPENV_6,
    pfPENV_7,
    pfPENV_8,
    pfPENV_9,
    pfPENV_10,
    pfCustom
};

struct TPaperFormatType {
    const char* Name;
    std::int32_t Code;  // Windows DMPAPER value
    std::int32_t WidthMM;
    std::int32_t HeightMM;
    double WidthInch;
    double HeightInch;
};

extern const std::array<TPaperFormatType, 79> PaperFormats;

enum class TPrinterOrientation : std::uint8_t { poPortrait, poLandscape };

enum TUnits : std::uint8_t {
    unMillimeters,
    unTenthMillimeters,
    unCentimeters,
    unInches,
    unTenthInches,
    unHundredthInches
};
// Millimetres per unit.
long double CurrUnitsOf(TUnits units);

struct TIndentions {
    bool Visible = true;
    std::int32_t Left = 10;
    std::int32_t Right = 10;
    std::int32_t Top = 10;
    std::int32_t Bottom = 10;
};

// What the geometry needs of a printer. The process-wide one wraps a QPrinter; tests use fakes.
class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;
    // DMPAPER code of the current paper; 0 when the printer reports none.
    virtual int paperCode() const = 0;
    virtual TPrinterOrientation orientation() const = 0;
    virtual void setOrientation(TPrinterOrientation value) = 0;
    // Physical page in device pixels, as oriented.
    virtual QSize physicalSize() const = 0;
    // Left and top edge of the printable area in device pixels.
    virtual QPoint physicalOffset() const = 0;
    virtual int logicalDpiX() const = 0;
    virtual int logicalDpiY() const = 0;
};

// The one printer of the process: the default CUPS printer, or a "PDF file" printer when none is
// installed, so that every report can still be printed to a file.
class SystemPrinterDevice final : public PrinterDevice {
public:
    SystemPrinterDevice();
    ~SystemPrinterDevice() override;
    int paperCode() const override;
    TPrinterOrientation orientation() const override;
    void setOrientation(TPrinterOrientation value) override;
    QSize physicalSize() const override;
    QPoint physicalOffset() const override;
    int logicalDpiX() const override;
    int logicalDpiY() const override;
    bool isPdfFallback() const { return pdfFallback_; }
    QPrinter& printer() { return *printer_; }

private:
    std::unique_ptr<QPrinter> printer_;
    bool pdfFallback_ = false;
};

SystemPrinterDevice& SystemPrinter();

class TPrinterSetup {
public:
    // The device must outlive the setup. Creating a setup leaves the printer's orientation alone:
    // another job in progress may rely on it.
    explicit TPrinterSetup(PrinterDevice& device = SystemPrinter());

    TPrinterOrientation Orientation() const { return orientation_; }
    TPaperFormat PaperFormat() const { return paperFormat_; }
    QString PaperFormatName() const { return GetPaperFormatName(); }
    std::int32_t PaperWidth_MM() const { return widthMM_; }
    std::int32_t PaperHeight_MM() const { return heightMM_; }
    double PaperWidth_Inch() const { return widthInch_; }
    double PaperHeight_Inch() const { return heightInch_; }
    double PixelsPerMM_byX() const { return ppmmX_; }
    double PixelsPerMM_byY() const { return ppmmY_; }
    PrinterDevice& Device() const { return device_; }

    void SetOrientation(TPrinterOrientation value);
    void SetPaperFormat(TPaperFormat value);
    void SetWidth_MM(std::int32_t value);
    void SetHeight_MM(std::int32_t value);
    void Update();
    void GetPaperFormatPrinter();
    void GetPaperSize(TPaperFormat format, double& inchWidth, double& inchHeight,
                      std::int32_t& mmWidth, std::int32_t& mmHeight) const;
    static QString GetFormatName(TPaperFormat format);
    QString GetPaperFormatName() const;
    bool SetFormatByName(const QString& name);
    bool IsCustomType() const { return paperFormat_ == pfCustom; }

    std::function<void()> OnChangeFormat;

private:
    void computePixelsPerMM();
    void fireChange();

    PrinterDevice& device_;
    TPrinterOrientation orientation_ = TPrinterOrientation::poPortrait;
    TPaperFormat paperFormat_ = pfA4;
    std::int32_t widthMM_ = 210;
    std::int32_t heightMM_ = 297;
    double widthInch_ = 210 / 25.4;
    double heightInch_ = 297 / 25.4;
    double ppmmX_ = 0;
    double ppmmY_ = 0;
};
