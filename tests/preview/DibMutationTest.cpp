#include "Dib.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <random>

namespace {

QByteArray fileOf(TDIB& dib)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    dib.SaveToStream(buffer);
    return buffer.data();
}

std::vector<QByteArray> fixtures()
{
    std::vector<QByteArray> out;
    std::mt19937 random(7);
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        for (bool compressed : {false, true}) {
            if (compressed && bits != 4 && bits != 8)
                continue;
            TDIB dib;
            dib.SetSize(9, 4, bits);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 9; ++x)
                    dib.SetPixel(x, y, x < 4 ? 3u : random());
            if (compressed)
                dib.Compress();
            out.push_back(fileOf(dib));
        }
    }
    return out;
}

// Randomly damaged files are either refused with a message or read into a picture that can be
// decoded and drawn; run it under AddressSanitizer to catch overruns, not only crashes.
// DIB_MUTATION_ROUNDS and DIB_MUTATION_SEED make a long fuzz run out of it.
TEST(DibMutation, DamagedFilesAreRefusedOrReadSafely)
{
    const std::vector<QByteArray> sources = fixtures();
    const int rounds = qEnvironmentVariableIsSet("DIB_MUTATION_ROUNDS")
                           ? qEnvironmentVariableIntValue("DIB_MUTATION_ROUNDS")
                           : 6000;
    std::mt19937 random(
        qEnvironmentVariableIsSet("DIB_MUTATION_SEED")
            ? static_cast<unsigned>(qEnvironmentVariableIntValue("DIB_MUTATION_SEED"))
            : 20u);
    int refused = 0, read = 0;
    for (int round = 0; round < rounds; ++round) {
        QByteArray bytes = sources[random() % sources.size()];
        const int changes = 1 + static_cast<int>(random() % 6);
        for (int c = 0; c < changes; ++c) {
            const int at = static_cast<int>(random() % static_cast<unsigned>(bytes.size()));
            switch (random() % 5) {
                case 0:
                    bytes.truncate(at);
                    break;
                case 1:
                    bytes.insert(at, char(random()));
                    break;
                default:
                    if (at < bytes.size())
                        bytes[at] = char(random() % 4 == 0 ? 0xFF : random());
                    break;
            }
            if (bytes.isEmpty())
                bytes = sources[0];
        }
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        TDIB dib;
        try {
            dib.LoadFromStream(buffer);
        } catch (const EInvalidGraphic&) {
            ++refused;
            continue;
        } catch (const EInvalidGraphicOperation&) {
            ++refused;
            continue;
        }
        ++read;
        // Pictures that are small enough to decode fast are decoded and converted in full.
        if (static_cast<std::int64_t>(dib.GetWidthBytes()) * dib.GetHeight() <= 4 * 1024 * 1024) {
            dib.Decompress();
            const QImage image = dib.ToImage();
            EXPECT_EQ(image.width(), dib.GetWidth());
        }
    }
    EXPECT_GT(refused, 100);
    EXPECT_GT(read, 100);
}

}  // namespace
