// libFuzzer target of the bitmap reader and the run-length decompressor: any input is either
// refused with an exception or read into a picture that decompresses and converts safely.

#include "Dib.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        TDIB dib;
        dib.LoadFromStream(buffer);
        dib.Decompress();
        // A few bytes of RLE may rightly describe a picture of hundreds of megabytes; converting
        // those only measures the page faults, so the conversion is checked on smaller ones.
        if (std::int64_t(dib.GetWidth()) * dib.GetHeight() <= (1 << 22)) {
            const QImage image = dib.ToImage();
            if (!dib.GetEmpty() && image.isNull())
                __builtin_trap();  // a picture that was read must be convertible
        }
    } catch (const std::exception&) {
        // refused input
    }
    return 0;
}
