// Every picture a screen asks for is in the art resource and draws something.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <set>
#include <string>

#include "core/hit.h"
#include "screens/screens.h"
#include "ui/widgets.h"

namespace vendral {
namespace {

// The share of pixels a picture covers when drawn into a box of that size.
double coverage(const QString& name, QSize box, bool stretch) {
    QImage img(box, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    paintPicture(p, name, QRectF(QPointF(0, 0), QSizeF(box)), stretch);
    p.end();
    int covered = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) covered += qAlpha(img.pixel(x, y)) > 0 ? 1 : 0;
    return static_cast<double>(covered) / (box.width() * box.height());
}

TEST(Art, EveryPictureOfEveryScreenLoadsAndFillsItsBox) {
    std::set<std::string> seen;
    for (const ScreenDef* screen : allScreens()) {
        for (const ScreenPart* part : screen->parts) {
            for (const ControlDef& c : part->controls) {
                if (c.picture.empty()) continue;
                SCOPED_TRACE(std::string(screen->name) + "." + std::string(c.name));
                const QString name = QString::fromUtf8(c.picture.data(), static_cast<qsizetype>(c.picture.size()));
                seen.insert(std::string(c.picture));
                ASSERT_TRUE(pictureSize(name).isValid()) << "no picture " << c.picture;
                const QSize box(pixelsOf(c.width), pixelsOf(c.height));
                // A stretched picture fills much of its box; one at its own
                // size still shows (and a button's picture is fitted above its caption).
                const bool stretch = c.stretch || c.kind == Kind::Button;
                EXPECT_GT(coverage(name, box, stretch), stretch ? 0.15 : 0.02);
            }
        }
    }
    // The pictures the story swaps in at run time are there too.
    for (const char* extra : {"nilrem", "sword_gladonthard", "sword_uthler", "sword_valrath", "icon"}) {
        EXPECT_TRUE(pictureSize(QString::fromLatin1(extra)).isValid()) << extra;
    }
    EXPECT_GE(seen.size(), 15u);
}

TEST(Art, TheCupReadsAtItsSmallestAndLargestStretch) {
    // Drawn squashed or tall, the cup keeps covering a fair part of its box.
    EXPECT_GT(coverage("cup", QSize(pixelsOf(1095), pixelsOf(735)), true), 0.2);
    EXPECT_GT(coverage("cup", QSize(pixelsOf(2655), pixelsOf(1935)), true), 0.2);
}

}  // namespace
}  // namespace vendral
