#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QString>
#include <QTextLayout>

// Whether a text, laid out in a font family with Qt's per-glyph fallback (as the window draws
// it), needs a glyph that no installed font has: that glyph is drawn as an empty box.
inline bool drawsBoxes(const QString &text, const QString &family, int pixelSize = 16)
{
    QFont font(family);
    font.setPixelSize(pixelSize > 0 ? pixelSize : 16);
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun &run : layout.glyphRuns())
        if (run.glyphIndexes().contains(0))
            return true;
    return false;
}
