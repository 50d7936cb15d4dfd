#pragma once
// A printer with fixed paper code, resolution and offsets, so that the geometry is known exactly.

#include "Druckereinrichtung.h"

class FakeDrucker final : public PrinterDevice {
public:
    int code = 9;
    int dpi = 600;
    QSizeF paperMM{210, 297};
    QPoint offset{50, 50};
    TPrinterOrientation orient = TPrinterOrientation::poPortrait;
    int orientationWrites = 0;

    int paperCode() const override { return code; }
    TPrinterOrientation orientation() const override { return orient; }
    void setOrientation(TPrinterOrientation value) override
    {
        orient = value;
        ++orientationWrites;
    }
    QSize physicalSize() const override
    {
        const QSize portrait(qRound(paperMM.width() / 25.4 * dpi),
                             qRound(paperMM.height() / 25.4 * dpi));
        return orient == TPrinterOrientation::poLandscape ? portrait.transposed() : portrait;
    }
    QPoint physicalOffset() const override { return offset; }
    int logicalDpiX() const override { return dpi; }
    int logicalDpiY() const override { return dpi; }
};
