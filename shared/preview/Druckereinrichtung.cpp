#include "Druckereinrichtung.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <stdexcept>

// Sizes as the Windows paper-size table gives them for the same codes, whole millimetres; inches
// exact for sizes defined in inches.
const std::array<TPaperFormatType, 79> PaperFormats = {{
    {"LETTER", 1, 216, 279, 8.5, 11},
    {"TABLOID", 3, 279, 432, 11, 17},
    {"LEDGER", 4, 432, 279, 17, 11},
    {"LEGAL", 5, 216, 356, 8.5, 14},
    {"STATEMENT", 6, 140, 216, 5.5, 8.5},
    {"EXECUTIVE", 7, 184, 267, 7.25, 10.5},
    {"A3", 8, 297, 420, 297 / 25.4, 420 / 25.4},
    {"A4", 9, 210, 297, 210 / 25.4, 297 / 25.4},
    {"A5", 11, 148, 210, 148 / 25.4, 210 / 25.4},
    {"B4", 12, 250, 354, 250 / 25.4, 354 / 25.4},
    {"B5", 13, 182, 257, 182 / 25.4, 257 / 25.4},
    {"Folio", 14, 216, 330, 8.5, 13},
    {"QUARTO", 15, 215, 275, 215 / 25.4, 275 / 25.4},
    {"10x14", 16, 254, 356, 10, 14},
    {"11x17", 17, 279, 432, 11, 17},
    {"Note", 18, 216, 279, 8.5, 11},
    {"Envelope #9", 19, 98, 225, 3.875, 8.875},
    {"Envelope #10", 20, 105, 241, 4.12, 9.5},
    {"Envelope #11", 21, 114, 264, 4.5, 10.375},
    {"Envelope #12", 22, 121, 279, 4.75, 11},
    {"Envelope #14", 23, 127, 292, 5, 11.5},
    {"C sheet", 24, 457, 610, 18, 24},
    {"D sheet", 25, 610, 914, 24, 36},
    {"E sheet", 26, 914, 1219, 36, 48},
    {"DL Envelope", 27, 110, 220, 110 / 25.4, 220 / 25.4},
    {"C5 Envelope", 28, 162, 229, 162 / 25.4, 229 / 25.4},
    {"C3 Envelope", 29, 324, 458, 324 / 25.4, 458 / 25.4},
    {"C4 Envelope", 30, 229, 324, 229 / 25.4, 324 / 25.4},
    {"C6 Envelope", 31, 114, 162, 114 / 25.4, 162 / 25.4},
    {"C65 Envelope", 32, 114, 229, 114 / 25.4, 229 / 25.4},
    {"B4 Envelope", 33, 250, 353, 250 / 25.4, 353 / 25.4},
    {"B5 Envelope", 34, 176, 250, 176 / 25.4, 250 / 25.4},
    {"B6 Envelope", 35, 176, 125, 176 / 25.4, 125 / 25.4},
    {"Italy Envelope", 36, 110, 230, 110 / 25.4, 230 / 25.4},
    {"Monarch Envelope", 37, 98, 190, 3.875, 7.5},
    {"6 3/4 Envelope", 38, 92, 165, 3.625, 6.5},
    {"US Std Fanfold", 39, 378, 279, 14.875, 11},
    {"German Std Fanfold", 40, 216, 305, 8.5, 12},
    {"German Legal Fanfold", 41, 216, 330, 8.5, 13},
    {"B4 (ISO)", 42, 250, 353, 250 / 25.4, 353 / 25.4},
    {"Japanese Postcard", 43, 100, 148, 100 / 25.4, 148 / 25.4},
    {"9x11", 44, 229, 279, 9, 11},
    {"10x11", 45, 254, 279, 10, 11},
    {"15x11", 46, 381, 279, 15, 11},
    {"Invite Envelope", 47, 220, 220, 220 / 25.4, 220 / 25.4},
    {"Letter Extra", 50, 236, 305, 9.275, 12},
    {"Legal Extra", 51, 236, 381, 9.275, 15},
    {"Tabloid Extra", 52, 297, 457, 11.69, 18},
    {"A4 Extra", 53, 235, 322, 9.27, 12.69},
    {"Letter Transverse", 54, 210, 279, 8.275, 11},
    {"A4 Transverse", 55, 210, 297, 210 / 25.4, 297 / 25.4},
    {"Letter Extra Transverse", 56, 236, 305, 9.275, 12},
    {"SuperA SuperA A4", 57, 227, 356, 227 / 25.4, 356 / 25.4},
    {"SuperB SuperB A3", 58, 305, 487, 305 / 25.4, 487 / 25.4},
    {"Letter Plus", 59, 216, 322, 8.5, 12.69},
    {"A4 Plus", 60, 210, 330, 210 / 25.4, 330 / 25.4},
    {"A5 Transverse", 61, 148, 210, 148 / 25.4, 210 / 25.4},
    {"B5 (JIS) Transverse", 62, 182, 257, 182 / 25.4, 257 / 25.4},
    {"A3 Extra", 63, 322, 445, 322 / 25.4, 445 / 25.4},
    {"A5 Extra", 64, 174, 235, 174 / 25.4, 235 / 25.4},
    {"B5 (ISO) Extra", 65, 201, 276, 201 / 25.4, 276 / 25.4},
    {"A2", 66, 420, 594, 420 / 25.4, 594 / 25.4},
    {"A3 Transverse", 67, 297, 420, 297 / 25.4, 420 / 25.4},
    {"A3 Extra Transverse", 68, 322, 445, 322 / 25.4, 445 / 25.4},
    {"Japanese Double Postcard", 69, 200, 148, 200 / 25.4, 148 / 25.4},
    {"A6", 70, 105, 148, 105 / 25.4, 148 / 25.4},
    {"PRC 16K", 93, 146, 215, 146 / 25.4, 215 / 25.4},
    {"PRC 32K", 94, 97, 151, 97 / 25.4, 151 / 25.4},
    {"PRC Envelope #1", 96, 102, 165, 102 / 25.4, 165 / 25.4},
    {"PRC Envelope #2", 97, 102, 176, 102 / 25.4, 176 / 25.4},
    {"PRC Envelope #3", 98, 125, 176, 125 / 25.4, 176 / 25.4},
    {"PRC Envelope #4", 99, 110, 208, 110 / 25.4, 208 / 25.4},
    {"PRC Envelope #5", 100, 110, 220, 110 / 25.4, 220 / 25.4},
    {"PRC Envelope #6", 101, 120, 230, 120 / 25.4, 230 / 25.4},
    {"PRC Envelope #7", 102, 160, 230, 160 / 25.4, 230 / 25.4},
    {"PRC Envelope #8", 103, 120, 309, 120 / 25.4, 309 / 25.4},
    {"PRC Envelope #9", 104, 229, 324, 229 / 25.4, 324 / 25.4},
    {"PRC Envelope #10", 105, 324, 458, 324 / 25.4, 458 / 25.4},
    {"Custom", 256, 100, 100, 100 / 25.4, 100 / 25.4},
}};

long double CurrUnitsOf(TUnits units)
{
    switch (units) {
        case unMillimeters:
            return 1.0L;
        case unTenthMillimeters:
            return 0.1L;
        case unCentimeters:
            return 10.0L;
        case unInches:
            return 25.4L;
        case unTenthInches:
            return 2.54L;
        case unHundredthInches:
            return 0.254L;
    }
    throw std::invalid_argument("Unbekannte Maßeinheit");
}

SystemPrinterDevice::SystemPrinterDevice()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setPageSize(QPageSize(QPageSize::A4));
        pdfFallback_ = true;
    } else {
        printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
}

SystemPrinterDevice::~SystemPrinterDevice() = default;

int SystemPrinterDevice::paperCode() const
{
    return printer_->pageLayout().pageSize().windowsId();
}

TPrinterOrientation SystemPrinterDevice::orientation() const
{
    return printer_->pageLayout().orientation() == QPageLayout::Landscape
               ? TPrinterOrientation::poLandscape
               : TPrinterOrientation::poPortrait;
}

void SystemPrinterDevice::setOrientation(TPrinterOrientation value)
{
    printer_->setPageOrientation(value == TPrinterOrientation::poLandscape ? QPageLayout::Landscape
                                                                           : QPageLayout::Portrait);
}

QSize SystemPrinterDevice::physicalSize() const
{
    return printer_->pageLayout().fullRectPixels(printer_->resolution()).size();
}

QPoint SystemPrinterDevice::physicalOffset() const
{
    return printer_->pageLayout().paintRectPixels(printer_->resolution()).topLeft();
}

int SystemPrinterDevice::logicalDpiX() const
{
    return printer_->resolution();
}
int SystemPrinterDevice::logicalDpiY() const
{
    return printer_->resolution();
}

SystemPrinterDevice& SystemPrinter()
{
    static SystemPrinterDevice device;
    return device;
}

TPrinterSetup::TPrinterSetup(PrinterDevice& device) : device_(device) {}

void TPrinterSetup::computePixelsPerMM()
{
    const QSize physical = device_.physicalSize();
    if (widthMM_ != 0)
        ppmmX_ = double(physical.width()) / widthMM_;
    if (heightMM_ != 0)
        ppmmY_ = double(physical.height()) / heightMM_;
}

void TPrinterSetup::fireChange()
{
    if (OnChangeFormat)
        OnChangeFormat();
}

void TPrinterSetup::SetOrientation(TPrinterOrientation value)
{
    if (value == orientation_)
        return;
    device_.setOrientation(value);
    Update();
    fireChange();
}

void TPrinterSetup::SetPaperFormat(TPaperFormat value)
{
    if (value == paperFormat_)
        return;
    paperFormat_ = value;
    if (value != pfCustom) {
        GetPaperSize(value, widthInch_, heightInch_, widthMM_, heightMM_);
        computePixelsPerMM();
    }
    fireChange();
}

void TPrinterSetup::SetWidth_MM(std::int32_t value)
{
    if (value == widthMM_)
        return;
    paperFormat_ = pfCustom;
    widthMM_ = value;
    widthInch_ = value * 0.03937007874015748;
    if (widthMM_ != 0)
        ppmmX_ = double(device_.physicalSize().width()) / widthMM_;
    fireChange();
}

void TPrinterSetup::SetHeight_MM(std::int32_t value)
{
    if (value == heightMM_)
        return;
    paperFormat_ = pfCustom;
    heightMM_ = value;
    heightInch_ = value * 0.03937007874015748;
    if (heightMM_ != 0)
        ppmmY_ = double(device_.physicalSize().height()) / heightMM_;
    fireChange();
}

void TPrinterSetup::GetPaperFormatPrinter()
{
    const int code = device_.paperCode();
    if (code == 0)
        return;
    for (std::size_t i = 0; i < PaperFormats.size(); ++i) {
        if (PaperFormats[i].Code == code) {
            SetPaperFormat(static_cast<TPaperFormat>(i));
            return;
        }
    }
}

void TPrinterSetup::Update()
{
    GetPaperFormatPrinter();
    orientation_ = device_.orientation();
    if (paperFormat_ != pfCustom)
        GetPaperSize(paperFormat_, widthInch_, heightInch_, widthMM_, heightMM_);
    computePixelsPerMM();
}

void TPrinterSetup::GetPaperSize(TPaperFormat format, double& inchWidth, double& inchHeight,
                                 std::int32_t& mmWidth, std::int32_t& mmHeight) const
{
    if (format == pfCustom) {
        inchWidth = widthInch_;
        inchHeight = heightInch_;
        mmWidth = widthMM_;
        mmHeight = heightMM_;
        return;
    }
    const TPaperFormatType& row = PaperFormats.at(format);
    const bool swap = orientation_ == TPrinterOrientation::poLandscape;
    inchWidth = swap ? row.HeightInch : row.WidthInch;
    inchHeight = swap ? row.WidthInch : row.HeightInch;
    mmWidth = swap ? row.HeightMM : row.WidthMM;
    mmHeight = swap ? row.WidthMM : row.HeightMM;
}

QString TPrinterSetup::GetFormatName(TPaperFormat format)
{
    return QString::fromLatin1(PaperFormats.at(format).Name);
}

QString TPrinterSetup::GetPaperFormatName() const
{
    return GetFormatName(paperFormat_);
}

bool TPrinterSetup::SetFormatByName(const QString& name)
{
    const QString wanted = name.toUpper();
    for (std::size_t i = 0; i < PaperFormats.size(); ++i) {
        if (QString::fromLatin1(PaperFormats[i].Name).toUpper() == wanted) {
            SetPaperFormat(static_cast<TPaperFormat>(i));
            return true;
        }
    }
    return false;
}
