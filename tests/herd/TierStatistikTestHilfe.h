#pragma once
// A canvas that records what a chart draws, with the brush and font colour in force.

#include <Leinwand.h>

#include <QString>

#include <vector>

class AufzeichnendeLeinwand final : public IMyCanvas {
public:
    struct Text {
        int x, y;
        QString s;
        TAlignment h;
        TVAlignment v;
        TColor farbe;
        int groesse;
    };
    struct Figur {
        std::vector<QPoint> punkte;
        TColor brush;
        TExBrushStyle stil;
        bool leer;
        TColor stift = 0;
        int stiftBreite = 1;
        TPenStyle stiftStil = psSolid;
    };
    std::vector<Text> texte;
    std::vector<Figur> polygone;
    std::vector<QRect> rundboxen;
    std::vector<Figur> tortenstuecke;  // box corners, then the two radial points
    std::vector<std::pair<QPoint, QPoint>> linien;
    std::vector<Figur> linienStifte;  // the pen of each line, in the order of linien
    std::vector<Figur> polylinien;
    std::vector<Figur> ellipsen;   // the two corners
    std::vector<Figur> rechtecke;  // the two corners
    int flaechen = 0;

    const Text* Finde(const QString& s) const
    {
        for (const Text& t : texte)
            if (t.s == s)
                return &t;
        return nullptr;
    }

    void Line(int x1, int y1, int x2, int y2) override
    {
        linien.push_back({{x1, y1}, {x2, y2}});
        linienStifte.push_back(Aufnahme({{x1, y1}, {x2, y2}}));
    }
    void Polygon(const std::vector<QPoint>& p) override { polygone.push_back(Aufnahme(p)); }
    int TextWidth(const QString& s) override { return int(s.size()) * groesse_; }
    void TextOut(int x, int y, const QString& s, TAlignment h, TVAlignment v, int) override
    {
        texte.push_back({x, y, s, h, v, farbe_, groesse_});
    }
    void SetzeSchrift(const QString&, int groesse, std::uint8_t, TColor farbe, bool) override
    {
        groesse_ = groesse;
        farbe_ = farbe;
    }
    void SetzeBrush(TColor farbe, TExBrushStyle stil) override
    {
        brush_ = farbe;
        stil_ = stil;
        leer_ = false;
    }
    void SetzeBrushClear() override { leer_ = true; }
    void SetzePen(TColor farbe, int breite, TPenStyle stil) override
    {
        stift_ = farbe;
        stiftBreite_ = breite;
        stiftStil_ = stil;
    }
    void FillRect(const QRect&) override { ++flaechen; }
    void Rectangle(int x1, int y1, int x2, int y2) override
    {
        rechtecke.push_back(Aufnahme({{x1, y1}, {x2, y2}}));
    }
    void Ellipse(int x1, int y1, int x2, int y2) override
    {
        ellipsen.push_back(Aufnahme({{x1, y1}, {x2, y2}}));
    }
    void Polyline(const std::vector<QPoint>& p) override { polylinien.push_back(Aufnahme(p)); }
    void RoundRect(int x1, int y1, int x2, int y2, int, int) override
    {
        rundboxen.push_back(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
    }
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override
    {
        tortenstuecke.push_back({{{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}}, brush_, stil_, leer_});
    }
    QSize TextExtent(const QString& s) override { return QSize(TextWidth(s), 2 * groesse_); }

private:
    Figur Aufnahme(const std::vector<QPoint>& p) const
    {
        return {p, brush_, stil_, leer_, stift_, stiftBreite_, stiftStil_};
    }
    TColor stift_ = 0;
    int stiftBreite_ = 1;
    TPenStyle stiftStil_ = psSolid;
    TColor brush_ = 0xFFFFFF;
    TExBrushStyle stil_ = exSolid;
    bool leer_ = false;
    TColor farbe_ = 0;
    int groesse_ = 9;
};
