// The three font style switches of the text windows: "Ж", "К" and "Ч" (sbFB, sbFI, sbFU),
// each drawn in the style it switches.
#pragma once

#include <QFont>
#include <QRect>
#include <QToolButton>

struct RFontStyleButtons {
    QToolButton* Bold = nullptr;
    QToolButton* Italic = nullptr;
    QToolButton* Underline = nullptr;
};

// The three side by side in parent: the first at left, top, each 26 pixels wide and
// height high, the next step pixels further right.
inline RFontStyleButtons AddFontStyleButtons(QWidget* parent, int left, int top, int step, int height)
{
    const auto button = [&](const char* name, const char* caption, int index) {
        auto* b = new QToolButton(parent);
        b->setObjectName(QLatin1String(name));
        b->setText(QString::fromUtf8(caption));
        b->setCheckable(true);
        b->setGeometry(QRect(left + index * step, top, 26, height));
        return b;
    };
    RFontStyleButtons made{button("sbFB", "Ж", 0), button("sbFI", "К", 1), button("sbFU", "Ч", 2)};
    QFont bold = made.Bold->font();
    bold.setBold(true);
    made.Bold->setFont(bold);
    QFont italic = made.Italic->font();
    italic.setItalic(true);
    made.Italic->setFont(italic);
    QFont underline = made.Underline->font();
    underline.setUnderline(true);
    made.Underline->setFont(underline);
    return made;
}
