// SPDX-License-Identifier: GPL-3.0-or-later
// The Capture page of the settings panel, built in code in the looks of the General page.
#include "capturesettingspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "capturechoices.h"
#include "extrasettings.h"
#include "panelstyle.h"
#include "text/textlanguages.h"

namespace {

QCheckBox* checkBox(const QString& text, const char* objectName) {
    auto* box = new QCheckBox(text);
    box->setObjectName(objectName);
    box->setStyleSheet(PanelStyle::kControl);
    return box;
}

QLabel* rowLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setStyleSheet(PanelStyle::kRowLabel);
    PanelStyle::setPixelSize(label, 11);
    return label;
}

// A list of values in the Video page's look; the user's choice is stored at once.
QComboBox* choiceBox(const char* objectName, int width) {
    auto* box = new QComboBox;
    box->setObjectName(objectName);
    box->setFixedSize(width, 30);
    box->setStyleSheet(PanelStyle::kCombo);
    box->setItemDelegate(new QStyledItemDelegate(box));
    return box;
}

// Selects the entry with value, putting one in its place among the others when the list lacks it
// (a value edited by hand in the settings file).
void selectValue(QComboBox* box, double value, const QString& text) {
    int index = box->findData(value);
    if (index < 0) {
        index = 0;
        while (index < box->count() && box->itemData(index).toDouble() < value)
            ++index;
        box->insertItem(index, text, value);
    }
    box->setCurrentIndex(index);
}

QGroupBox* group(const QString& title, int height) {
    auto* box = new QGroupBox(title);
    box->setFixedHeight(height);
    box->setStyleSheet(PanelStyle::kGroup);
    return box;
}

}  // namespace

CaptureSettingsPage::CaptureSettingsPage(ExtraSettings* store, QWidget* parent)
    : QWidget(parent), m_choices(store), m_text(store) {
    setStyleSheet("border: none; background: white;");
    auto* pageLayout = new QVBoxLayout(this);
    auto* content = new QVBoxLayout;
    content->setContentsMargins(10, 0, 10, 0);
    content->setSpacing(0);
    content->addWidget(buildPagesGroup());
    content->addWidget(buildFilesGroup());
    content->addWidget(buildTextGroup());
    content->addStretch();
    pageLayout->addLayout(content);
    pageLayout->setAlignment(content, Qt::AlignTop);
    showStoredChoices();

    connect(m_crop, &QCheckBox::toggled, this, [this](bool on) { m_choices.setCropping(on); });
    connect(m_autoCapture, &QCheckBox::toggled, this, [this](bool on) { m_choices.setAutoCapture(on); });
    connect(m_hold, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { m_choices.setHoldSeconds(m_hold->itemData(index).toDouble()); });
    connect(m_split, &QCheckBox::toggled, this, [this](bool on) { m_choices.setSplitSpreads(on); });
    connect(m_quality, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { m_choices.setJpegQuality(m_quality->itemData(index).toInt()); });
    connect(m_dpi, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { m_choices.setDpi(m_dpi->itemData(index).toInt()); });
    for (QCheckBox* box : m_languages)
        connect(box, &QCheckBox::toggled, this, &CaptureSettingsPage::storeLanguages);
    connect(store, &ExtraSettings::valueChanged, this, &CaptureSettingsPage::showStoredChoices);
}

QWidget* CaptureSettingsPage::buildPagesGroup() {
    QGroupBox* pages = group(tr("Pages"), 150);
    auto* column = new QVBoxLayout(pages);
    column->setContentsMargins(5, 5, 5, 5);
    column->setSpacing(6);
    m_crop = checkBox(tr("Crop and straighten pages"), "checkBox_cropPages");
    m_autoCapture = checkBox(tr("Capture each new page by itself"), "checkBox_autoCapture");
    m_hold = choiceBox("comboBox_holdSeconds", 90);
    for (double seconds = CaptureChoices::kHoldMin; seconds <= CaptureChoices::kHoldMax;
         seconds += CaptureChoices::kHoldStep)
        m_hold->addItem(holdText(seconds), seconds);
    m_split = checkBox(tr("Split two-page spreads into two files"), "checkBox_splitSpreads");

    auto* holdRow = new QHBoxLayout;
    holdRow->setContentsMargins(20, 0, 0, 0);
    holdRow->addWidget(rowLabel(tr("after it lies still for")));
    holdRow->addWidget(m_hold);
    holdRow->addStretch();
    column->addWidget(m_crop);
    column->addWidget(m_autoCapture);
    column->addLayout(holdRow);
    column->addWidget(m_split);
    return pages;
}

QWidget* CaptureSettingsPage::buildFilesGroup() {
    QGroupBox* files = group(tr("Captured Files"), 110);
    auto* column = new QVBoxLayout(files);
    column->setContentsMargins(5, 5, 5, 5);
    column->setSpacing(6);
    m_quality = choiceBox("comboBox_jpegQuality", 90);
    for (int quality : {50, 60, 70, 75, 80, 85, 90, 95, 100})
        m_quality->addItem(QString::number(quality), quality);
    m_dpi = choiceBox("comboBox_dpi", 90);
    for (int dpi : {72, 96, 150, 200, 300, 400, 600})
        m_dpi->addItem(QString::number(dpi), dpi);
    const auto addRow = [column](const QString& text, QWidget* box) {
        auto* row = new QHBoxLayout;
        row->addWidget(rowLabel(text), 1);
        row->addWidget(box);
        column->addLayout(row);
    };
    addRow(tr("JPEG quality"), m_quality);
    addRow(tr("Resolution written in files (DPI)"), m_dpi);
    return files;
}

QWidget* CaptureSettingsPage::buildTextGroup() {
    QGroupBox* text = group(tr("Text"), 80);
    auto* column = new QVBoxLayout(text);
    column->setContentsMargins(5, 5, 5, 5);
    column->setSpacing(6);
    column->addWidget(rowLabel(tr("Read the page's text in")));
    auto* row = new QHBoxLayout;
    for (const QString& code : TextLanguages::all()) {
        // Data that is not installed is said here, before a recognition names it.
        const QString name = TextLanguages::installed(code)
                                 ? TextLanguages::displayName(code)
                                 : tr("%1 (not installed)").arg(TextLanguages::displayName(code));
        QCheckBox* box = checkBox(name, qPrintable("checkBox_text_" + code));
        box->setProperty("languageCode", code);
        m_languages << box;
        row->addWidget(box);
    }
    row->addStretch();
    column->addLayout(row);
    return text;
}

void CaptureSettingsPage::storeLanguages() {
    QStringList codes;
    for (QCheckBox* box : m_languages)
        if (box->isChecked())
            codes << box->property("languageCode").toString();
    m_text.setLanguages(codes);
}

QString CaptureSettingsPage::holdText(double seconds) const {
    return tr("%1 s").arg(QLocale().toString(seconds, 'f', 1));
}

void CaptureSettingsPage::showStoredChoices() {
    const QSignalBlocker blockCrop(m_crop), blockAuto(m_autoCapture), blockHold(m_hold), blockSplit(m_split),
        blockQuality(m_quality), blockDpi(m_dpi);
    const QStringList languages = m_text.languages();
    for (QCheckBox* box : m_languages) {
        const QSignalBlocker blockLanguage(box);
        box->setChecked(languages.contains(box->property("languageCode").toString()));
    }
    m_crop->setChecked(m_choices.cropping());
    m_autoCapture->setChecked(m_choices.autoCapture());
    selectValue(m_hold, m_choices.holdSeconds(), holdText(m_choices.holdSeconds()));
    m_split->setChecked(m_choices.splitSpreads());
    selectValue(m_quality, m_choices.jpegQuality(), QString::number(m_choices.jpegQuality()));
    selectValue(m_dpi, m_choices.dpi(), QString::number(m_choices.dpi()));
}
