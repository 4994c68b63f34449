// SPDX-License-Identifier: GPL-3.0-or-later
// The pen and eraser popups: which swatch opens checked, what each choice reports, the custom colour
// dialog and the popup registry, the eraser's opening report, and the panels' look.
#include <QButtonGroup>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "annotation/erasewiget.h"
#include "annotation/penwidget.h"
#include "controls/popupmanager.h"
#include "controls/vtoolbutton.h"

namespace {

QColor centre(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

QList<QVariant> report(int type, const QColor& color, int size) {
    return {type, color, size};
}

QList<QVariant> report(int type, int size) {
    return {type, size};
}

// Answers the colour dialog that the next event-loop pass finds open.
void answerColorDialog(const QColor& color, bool accept, bool* answered) {
    QTimer::singleShot(0, [=]() {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        // While the dialog is open a press in it must not close the pen popup behind it.
        QTest::mouseClick(dialog, Qt::LeftButton, {}, QPoint(5, 5));
        *answered = dialog->parentWidget() != nullptr && dialog->parentWidget()->isVisible();
        dialog->setCurrentColor(color);
        if (accept)
            dialog->accept();
        else
            dialog->reject();
    });
}

}  // namespace

class TestAnnotationPopups : public QObject {
    Q_OBJECT

private:
    static VToolButton* swatch(PenWidget& pen, const char* name) { return pen.findChild<VToolButton*>(name); }
    static VToolButton* checkedSwatch(PenWidget& pen) {
        return qobject_cast<VToolButton*>(pen.colorGroup->checkedButton());
    }

private slots:
    void initTestCase() { PopupManager::instance(); }

    void penOpensWithTheSwatchOfItsColour_data() {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<bool>("addColorLook");
        QTest::newRow("red, the tool bar's first colour") << QColor("#ff0000") << "colorRedButton" << true;
        QTest::newRow("white") << QColor(Qt::white) << "colorWhiteButton" << true;
        QTest::newRow("yellow") << QColor("#FEFB52") << "colorYellowButton" << true;
        QTest::newRow("purple as painted") << QColor("#800080") << "colorPurpleButton" << true;
        QTest::newRow("purple as selected") << QColor("#ff00ff") << "colorCustomButton" << false;
        QTest::newRow("another colour") << QColor("#123456") << "colorCustomButton" << false;
    }

    void penOpensWithTheSwatchOfItsColour() {
        QFETCH(QColor, color);
        QFETCH(QString, checked);
        QFETCH(bool, addColorLook);
        PenWidget pen(nullptr, 5, color);
        QCOMPARE(checkedSwatch(pen)->objectName(), checked);
        VToolButton* custom = swatch(pen, "colorCustomButton");
        QCOMPARE(!custom->icon().isNull(), addColorLook);
        if (addColorLook) {
            QVERIFY(!custom->data(Qt::UserRole).isValid());
        } else {
            QCOMPARE(custom->data(Qt::UserRole).toString(), color.name());
            QCOMPARE(centre(custom), color);
        }
        QCOMPARE(centre(swatch(pen, "colorPurpleButton")), QColor("#800080"));
    }

    // The title names the tool chosen, at the opening and after a click on another tool.
    void penTitleNamesTheTool_data() {
        QTest::addColumn<int>("opening");  // tool type the popup opens with
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QString>("title");
        QTest::newRow("pen") << 0 << QString() << "Smooth Pen";
        QTest::newRow("opened with the highlighter") << 1 << QString() << "Highlighter";
        QTest::newRow("pen to highlighter") << 0 << "toolButton_highlighter"
                                            << "Highlighter";
        QTest::newRow("pen to arrow") << 0 << "toolButton_arrow"
                                      << "Arrow";
        QTest::newRow("ellipse back to the pen") << 5 << "toolButton_brush"
                                                 << "Smooth Pen";
    }

    void penTitleNamesTheTool() {
        QFETCH(int, opening);
        QFETCH(QString, clicked);
        QFETCH(QString, title);
        PenWidget pen(nullptr, 5, Qt::red);
        pen.showShapeTools(opening);
        if (!clicked.isEmpty())
            QTest::mouseClick(pen.findChild<QToolButton*>(clicked), Qt::LeftButton);
        QCOMPARE(pen.findChild<QLabel*>("label_title")->text(), title);
    }

    void swatchClickReportsItsColour_data() {
        QTest::addColumn<QColor>("opening");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QColor>("reported");
        QTest::newRow("purple selects magenta")
            << QColor("#800080") << "colorPurpleButton" << QColor("#ff00ff");
        QTest::newRow("red to black") << QColor("#ff0000") << "colorBlackButton" << QColor("#000000");
        QTest::newRow("custom to blue") << QColor("#123456") << "colorBlueButton" << QColor("#0000ff");
        QTest::newRow("checked red again") << QColor("#ff0000") << "colorRedButton" << QColor("#ff0000");
    }

    void swatchClickReportsItsColour() {
        QFETCH(QColor, opening);
        QFETCH(QString, clicked);
        QFETCH(QColor, reported);
        PenWidget pen(nullptr, 7, opening);
        QSignalSpy spy(&pen, &PenWidget::signalToolChanged);
        QTest::mouseClick(swatch(pen, clicked.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first(), report(0, reported, 7));
        QCOMPARE(checkedSwatch(pen)->objectName(), clicked);
        // The size step that follows carries the new colour.
        pen.slider_brush->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(spy.last(), report(0, reported, 8));
    }

    void penSliderReportsEachStepTwice_data() {
        QTest::addColumn<int>("opening");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("afterStep");
        QTest::newRow("from 5") << 5 << 5 << 6;
        QTest::newRow("at the top") << 30 << 30 << 30;
        QTest::newRow("size beyond the range") << 45 << 30 << 30;
        QTest::newRow("size below the range") << 0 << 1 << 2;
    }

    void penSliderReportsEachStepTwice() {
        QFETCH(int, opening);
        QFETCH(int, shown);
        QFETCH(int, afterStep);
        PenWidget pen(nullptr, opening, QColor("#ff0000"));
        QLineEdit* box = pen.findChild<QLineEdit*>();
        QCOMPARE(box->text(), QString::number(shown));
        QCOMPARE(pen.slider_brush->value(), shown);
        QSignalSpy spy(&pen, &PenWidget::signalToolChanged);
        pen.slider_brush->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(box->text(), QString::number(afterStep));
        if (afterStep == shown) {
            QCOMPARE(spy.count(), 0);
        } else {
            QCOMPARE(spy.count(), 2);
            QCOMPARE(spy.at(0), report(0, QColor("#ff0000"), afterStep));
            QCOMPARE(spy.at(1), report(0, QColor("#ff0000"), afterStep));
        }
    }

    void customColourDialog_data() {
        QTest::addColumn<QColor>("opening");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QColor>("dialogColor");
        QTest::addColumn<QVariantList>("reports");
        QTest::addColumn<QString>("checkedAfter");
        const QColor red("#ff0000");
        const QColor teal("#108080");
        const QColor other("#123456");
        QTest::newRow("accepted: reported twice")
            << red << true << teal << QVariantList{QVariant(report(0, teal, 5)), QVariant(report(0, teal, 5))}
            << "colorCustomButton";
        QTest::newRow("cancelled with a custom colour: reported again")
            << other << false << teal << QVariantList{QVariant(report(0, other, 5))} << "colorCustomButton";
        QTest::newRow("cancelled before any custom colour: the pen keeps its colour")
            << red << false << teal << QVariantList{} << "colorRedButton";
    }

    void customColourDialog() {
        QFETCH(QColor, opening);
        QFETCH(bool, accept);
        QFETCH(QColor, dialogColor);
        QFETCH(QVariantList, reports);
        QFETCH(QString, checkedAfter);
        QPointer<PenWidget> pen = new PenWidget(nullptr, 5, opening);
        pen->move(300, 300);
        PopupManager::instance()->registerPopup(pen);
        pen->show();
        QSignalSpy spy(pen.data(), &PenWidget::signalToolChanged);
        bool popupOpenDuringDialog = false;
        answerColorDialog(dialogColor, accept, &popupOpenDuringDialog);
        QTest::mouseClick(swatch(*pen, "colorCustomButton"), Qt::LeftButton);
        QVERIFY(popupOpenDuringDialog);
        QCOMPARE(spy.count(), reports.size());
        for (int i = 0; i < reports.size(); ++i)
            QCOMPARE(QVariant(spy.at(i)), reports.at(i));
        QCOMPARE(checkedSwatch(*pen)->objectName(), checkedAfter);
        if (accept)
            QCOMPARE(centre(swatch(*pen, "colorCustomButton")), dialogColor);

        // Registered again: a press outside closes it.
        QWidget elsewhere;
        elsewhere.setGeometry(0, 0, 100, 100);
        elsewhere.show();
        QTest::mouseClick(&elsewhere, Qt::LeftButton, {}, QPoint(50, 50));
        QTRY_VERIFY(pen.isNull());
    }

    void eraserReportsItsOpeningOnce_data() {
        QTest::addColumn<int>("opening");
        QTest::addColumn<int>("size");
        QTest::newRow("first opening") << 5 << 5;
        QTest::newRow("remembered size") << 9 << 9;
        QTest::newRow("size beyond the range") << 25 << 10;
    }

    void eraserReportsItsOpeningOnce() {
        QFETCH(int, opening);
        QFETCH(int, size);
        EraseWiget eraser(nullptr, opening);
        QSignalSpy spy(&eraser, &EraseWiget::signalEraseChanged);
        QCOMPARE(eraser.editerase->text(), QString::number(size));
        QCOMPARE(eraser.slider_erase->value(), size);
        eraser.show();
        QCOMPARE(spy.count(), 0);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.first(), report(0, size));
        QTest::qWait(20);
        QCOMPARE(spy.count(), 1);
    }

    void eraserChoices_data() {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QVariantList>("reports");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("pointChecked");
        QTest::newRow("two slider steps")
            << QStringList{"step", "step"} << QVariantList{QVariant(report(0, 6)), QVariant(report(0, 7))}
            << "7" << true;
        QTest::newRow("clear all") << QStringList{"clear"} << QVariantList{QVariant(report(2, 5))} << "5"
                                   << false;
        QTest::newRow("clear all twice")
            << QStringList{"clear", "clear"} << QVariantList{QVariant(report(2, 5)), QVariant(report(2, 5))}
            << "5" << false;
        QTest::newRow("slider after clear all")
            << QStringList{"clear", "step"} << QVariantList{QVariant(report(2, 5)), QVariant(report(0, 6))}
            << "6" << false;
        QTest::newRow("point eraser again")
            << QStringList{"point"} << QVariantList{QVariant(report(0, 5))} << "5" << true;
        QTest::newRow("back from clear all")
            << QStringList{"clear", "point"} << QVariantList{QVariant(report(2, 5)), QVariant(report(0, 5))}
            << "5" << true;
    }

    void eraserChoices() {
        QFETCH(QStringList, actions);
        QFETCH(QVariantList, reports);
        QFETCH(QString, box);
        QFETCH(bool, pointChecked);
        EraseWiget eraser(nullptr, 5);
        eraser.show();
        QSignalSpy spy(&eraser, &EraseWiget::signalEraseChanged);
        QTRY_COMPARE(spy.count(), 1);
        spy.clear();
        auto* point = eraser.findChild<QToolButton*>("toolButton_clickease");
        auto* clear = eraser.findChild<QToolButton*>("toolButton_clearallease");
        for (const QString& action : actions) {
            if (action == "step")
                eraser.slider_erase->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            if (action == "clear")
                QTest::mouseClick(clear, Qt::LeftButton);
            if (action == "point")
                QTest::mouseClick(point, Qt::LeftButton);
        }
        QCOMPARE(spy.count(), reports.size());
        for (int i = 0; i < reports.size(); ++i)
            QCOMPARE(QVariant(spy.at(i)), reports.at(i));
        QCOMPARE(eraser.editerase->text(), box);
        QCOMPARE(point->isChecked(), pointChecked);
        QCOMPARE(clear->isChecked(), !pointChecked);
    }

    void popupsAreWhiteRoundedPanels_data() {
        QTest::addColumn<bool>("pen");
        QTest::addColumn<QSize>("size");
        QTest::newRow("pen") << true << QSize(264, 140);
        QTest::newRow("eraser") << false << QSize(196, 140);
    }

    void popupsAreWhiteRoundedPanels() {
        QFETCH(bool, pen);
        QFETCH(QSize, size);
        QScopedPointer<QWidget> popup(pen ? static_cast<QWidget*>(new PenWidget(nullptr, 5, Qt::red))
                                          : new EraseWiget(nullptr, 5));
        popup->show();
        QCOMPARE(popup->size(), size);
        QCOMPARE(popup->windowFlags(), Qt::Tool | Qt::FramelessWindowHint);
        QVERIFY(!popup->testAttribute(Qt::WA_TranslucentBackground));
        // Corners cut off, edges kept.
        const QRegion mask = popup->mask();
        QVERIFY(!mask.contains(QPoint(0, 0)));
        QVERIFY(!mask.contains(QPoint(size.width() - 1, size.height() - 1)));
        QVERIFY(mask.contains(QPoint(size.width() / 2, 0)));
        QVERIFY(mask.contains(QPoint(0, size.height() / 2)));
        const QImage image = popup->grab().toImage();
        QCOMPARE(image.pixelColor(size.width() - 3, size.height() / 2), QColor(Qt::white));
    }
};

QTEST_MAIN(TestAnnotationPopups)
#include "tst_annotationpopups.moc"
