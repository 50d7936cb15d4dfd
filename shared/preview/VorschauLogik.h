#pragma once
// The arithmetic of the preview window, apart from the widgets: scroll bars, keys, zoom.

#include <cstdint>

enum class TFitScale : std::uint8_t { fitPageWidth, fitPageHeight, fitWholePage };

// One direction of the page panel. Max is the page extent and PageSize the visible extent, so
// positions run from 0 to Max - PageSize.
struct ScrollAchse {
    bool Enabled = false;
    int Max = 0;
    int PageSize = 0;
    int Position = 0;
    int Offset = 0;  // where the page's edge lies in the panel
    int Limit() const { return Max - PageSize > 0 ? Max - PageSize : 0; }
};

// Fits the direction to a page of the given extent in a client of the given extent: a larger page
// scrolls and keeps its relative position, a smaller one is centred.
void AchseAnpassen(ScrollAchse& achse, double extent, int client);

struct Blickpunkt {
    int Seite;
    int X;  // horizontal scroll position
    int Y;  // vertical scroll position
};

constexpr int kPfeilSchritt = 20;

// A key of the page panel (Qt key code) applied to the page and the scroll positions; the page
// stays within minSeite..maxSeite and the positions within 0..limit.
Blickpunkt TasteAnwenden(int key, Blickpunkt jetzt, int limitX, int limitY, int minSeite,
                         int maxSeite);

// The scale after one zoom step; equal to scale when nothing changes.
int ZoomInSchritt(int scale, int step, int maxScale);
int ZoomOutSchritt(int scale, int step, int minScale);
// The largest scale at which a page of pw x ph pixels stays within maximumSize; 0 without a page.
int SkalierungsGrenze(int maximumSize, int pw, int ph);
// The scale at which a page fits the area; 0 without a page.
int EinpassSkalierung(TFitScale fit, int areaW, int areaH, int pw, int ph);
