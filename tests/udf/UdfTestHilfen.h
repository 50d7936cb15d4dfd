#pragma once

#include <UdfDatum.h>

#include <ibase.h>

#include <array>
#include <cstring>
#include <string>

// A result buffer of the width the database declares, followed by guard bytes that show any write
// past the declared room.
template <std::size_t Breite>
struct Puffer {
    static constexpr char kWaechter = 0x5A;
    std::array<char, Breite + 1 + 32> daten;

    Puffer() { daten.fill(kWaechter); }
    char* get() { return daten.data(); }
    bool unversehrt() const
    {
        for (std::size_t i = Breite + 1; i < daten.size(); ++i) {
            if (daten[i] != kWaechter)
                return false;
        }
        return true;
    }
};

inline ISC_TIMESTAMP Zeitpunkt(int jahr, int monat, int tag, ISC_TIME zeit = 0)
{
    return ISC_TIMESTAMP{Udf::DatumNachTag({jahr, monat, tag}), zeit};
}
