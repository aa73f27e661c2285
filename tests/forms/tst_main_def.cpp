#include "common/test_main.h"
#include "controls/tool_bar.h"
#include "forms/frm_main_def.h"

#include <QSet>
#include <QSvgRenderer>

using namespace drillpad;

// The image list of the main window and the pictures its toolbars use.
class TestMainDef : public QObject {
    Q_OBJECT

    // The positions of ImageList1 that some toolbar button shows.
    static QSet<int> usedImages() {
        QSet<int> used;
        for (const forms::ToolbarDef &bar : forms::frmMainToolbars()) {
            for (const ToolButtonDef &button : bar.buttons) {
                if (button.image)
                    used << button.image;
            }
        }
        return used;
    }

private Q_SLOTS:
    void imageListHasTwentyFiveKeyedImages() {
        const ImageList images(forms::frmMainImageList());
        QCOMPARE(images.count(), 25);
        QCOMPARE(images.imageSize(), QSize(16, 16));
        QCOMPARE(images.maskColour(), QColor(0xC0, 0xC0, 0xC0));
        for (int position = 1; position <= 25; ++position)
            QCOMPARE(images.key(position), QStringLiteral("IMG%1").arg(position));
        QCOMPARE(images.key(0), QString());
        QCOMPARE(images.key(26), QString());
        QVERIFY(images.icon(0).isNull());
        QVERIFY(images.icon(26).isNull());
    }

    // Exactly the pictures that buttons show are drawn; each is a 16 × 16 SVG.
    void shownImagesAreDrawnAndOnlyThose() {
        const QSet<int> unused = {1, 4, 8, 11, 13, 15, 17, 22};
        QCOMPARE(usedImages().size(), 17);
        QVERIFY(!usedImages().intersects(unused));
        const std::span<const ImageDef> images = forms::frmMainImageList().images;
        for (int position = 1; position <= 25; ++position) {
            const char *picture = images[static_cast<std::size_t>(position - 1)].picture;
            if (unused.contains(position)) {
                QVERIFY2(!picture, qPrintable(QString::number(position)));
                continue;
            }
            QVERIFY2(picture, qPrintable(QString::number(position)));
            QSvgRenderer renderer(QString::fromUtf8(picture));
            QVERIFY2(renderer.isValid(), picture);
            QCOMPARE(renderer.viewBoxF(), QRectF(0, 0, 16, 16));
        }
    }

    // On a screen with twice the pixels the picture is drawn with twice the
    // detail, not enlarged from sixteen pixels.
    void picturesAreDrawnForTheScreenScale() {
        const ImageList images(forms::frmMainImageList());
        for (int position : usedImages()) {
            const QIcon icon = images.icon(position);
            const QPixmap single = icon.pixmap(QSize(16, 16), 1.0);
            const QPixmap doubled = icon.pixmap(QSize(16, 16), 2.0);
            QCOMPARE(single.size(), QSize(16, 16));
            QCOMPARE(doubled.size(), QSize(32, 32));
            QCOMPARE(doubled.devicePixelRatio(), 2.0);
            const QImage enlarged = single.toImage().scaled(32, 32).convertToFormat(
                QImage::Format_ARGB32_Premultiplied);
            QVERIFY2(doubled.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied) !=
                         enlarged,
                     qPrintable(images.key(position)));
        }
    }

    void buttonKeysAreUniqueAndPlaceholderHoldsTheFontLists() {
        QSet<QString> keys;
        for (const forms::ToolbarDef &bar : forms::frmMainToolbars()) {
            QVERIFY(forms::findControl(forms::frmMainDef(), bar.name));
            for (const ToolButtonDef &button : bar.buttons) {
                if (!button.key)
                    continue;
                QVERIFY2(!keys.contains(QString::fromLatin1(button.key)), button.key);
                keys << QString::fromLatin1(button.key);
                QVERIFY2(button.accessibleName, button.key);
            }
        }
        QCOMPARE(keys.size(), 17);
        const forms::ToolbarDef &edit = forms::frmMainToolbars()[1];
        const ToolButtonDef &space = edit.buttons[forms::kFontComboPlaceholder - 1];
        QCOMPARE(space.style, ToolButtonStyle::Placeholder);
        QCOMPARE(space.width, 3000.0f);
        for (const char *combo : {"cmbFont", "cmbFontSize"}) {
            const forms::ControlDef *def = forms::findControl(forms::frmMainDef(), combo);
            QVERIFY(def);
            QCOMPARE(QString::fromLatin1(def->parent), QString::fromLatin1(edit.name));
            QVERIFY(def->rect.left + def->rect.width <= space.width);
        }
    }
};

DRILLPAD_TEST_MAIN(TestMainDef)
#include "tst_main_def.moc"
