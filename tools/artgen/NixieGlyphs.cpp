#include "tools/artgen/NixieGlyphs.h"

namespace {

// The numerals in a unit box (x to the right, y downwards), drawn as chains of cubic curves.
class TGlyphBuilder
{
public:
    TGlyphBuilder(double Left, double Top, double Width, double Height)
        : FLeft(Left), FTop(Top), FWidth(Width), FHeight(Height)
    {}

    TGlyphBuilder& Start()
    {
        FLines.emplace_back();
        return *this;
    }
    TGlyphBuilder& Curve(TArtPoint P0, TArtPoint P1, TArtPoint P2, TArtPoint P3)
    {
        AppendCubic(FLines.back(), Map(P0), Map(P1), Map(P2), Map(P3));
        return *this;
    }
    TGlyphBuilder& Line(TArtPoint P0, TArtPoint P1)
    {
        TPolyline& L = FLines.back();
        if (L.empty())
            L.push_back(Map(P0));
        L.push_back(Map(P1));
        return *this;
    }
    TGlyphBuilder& Ellipse(TArtPoint Centre, double RX, double RY)
    {
        FLines.push_back(EllipseLine(Map(Centre), RX * FWidth, RY * FHeight));
        return *this;
    }
    std::vector<TPolyline> Take() { return std::move(FLines); }

private:
    TArtPoint Map(TArtPoint P) const { return {FLeft + P.X * FWidth, FTop + P.Y * FHeight}; }

    double FLeft, FTop, FWidth, FHeight;
    std::vector<TPolyline> FLines;
};

} // namespace

std::vector<TPolyline> NixieGlyph(int Digit, double Left, double Top, double Width, double Height)
{
    TGlyphBuilder G(Left, Top, Width, Height);
    switch (Digit) {
    case 0:
        G.Ellipse({0.5, 0.5}, 0.5, 0.5);
        break;
    case 1:
        G.Start().Line({0.56, 0.0}, {0.56, 1.0});
        G.Start().Line({0.56, 0.0}, {0.3, 0.1});
        break;
    case 2:
        G.Start()
            .Curve({0.02, 0.23}, {0.04, 0.07}, {0.25, 0.0}, {0.5, 0.0})
            .Curve({0.5, 0.0}, {0.78, 0.0}, {0.98, 0.1}, {0.98, 0.27})
            .Curve({0.98, 0.27}, {0.98, 0.46}, {0.7, 0.58}, {0.42, 0.72})
            .Curve({0.42, 0.72}, {0.16, 0.85}, {0.0, 0.93}, {0.0, 1.0})
            .Line({0.0, 1.0}, {1.0, 1.0});
        break;
    case 3:
        G.Start()
            .Curve({0.02, 0.16}, {0.1, 0.04}, {0.3, 0.0}, {0.5, 0.0})
            .Curve({0.5, 0.0}, {0.78, 0.0}, {0.95, 0.1}, {0.95, 0.23})
            .Curve({0.95, 0.23}, {0.95, 0.37}, {0.75, 0.46}, {0.42, 0.46})
            .Curve({0.42, 0.46}, {0.8, 0.46}, {1.0, 0.56}, {1.0, 0.72})
            .Curve({1.0, 0.72}, {1.0, 0.9}, {0.75, 1.0}, {0.5, 1.0})
            .Curve({0.5, 1.0}, {0.25, 1.0}, {0.05, 0.92}, {0.0, 0.8});
        break;
    case 4:
        G.Start().Line({0.74, 0.0}, {0.74, 1.0});
        G.Start().Line({0.74, 0.0}, {0.0, 0.68}).Line({0.0, 0.68}, {1.0, 0.68});
        break;
    case 5:
        G.Start()
            .Line({0.96, 0.0}, {0.12, 0.0})
            .Line({0.12, 0.0}, {0.06, 0.43})
            .Curve({0.06, 0.43}, {0.3, 0.36}, {1.0, 0.36}, {1.0, 0.68})
            .Curve({1.0, 0.68}, {1.0, 0.92}, {0.76, 1.0}, {0.5, 1.0})
            .Curve({0.5, 1.0}, {0.25, 1.0}, {0.05, 0.92}, {0.0, 0.82});
        break;
    case 6:
        G.Start().Curve({0.88, 0.02}, {0.42, 0.1}, {0.0, 0.34}, {0.0, 0.69});
        G.Ellipse({0.5, 0.69}, 0.5, 0.31);
        break;
    case 7:
        G.Start()
            .Line({0.0, 0.0}, {1.0, 0.0})
            .Curve({1.0, 0.0}, {0.74, 0.34}, {0.46, 0.64}, {0.38, 1.0});
        break;
    case 8:
        G.Ellipse({0.5, 0.225}, 0.42, 0.225);
        G.Ellipse({0.5, 0.725}, 0.5, 0.275);
        break;
    default:
        G.Ellipse({0.5, 0.31}, 0.5, 0.31);
        G.Start().Curve({1.0, 0.31}, {1.0, 0.66}, {0.58, 0.9}, {0.12, 0.98});
        break;
    }
    return G.Take();
}
