// SPDX-License-Identifier: GPL-3.0-or-later
// The captured-file panel: a column of thumbnail tiles, one for each file captured since start.
#include "filelistwidget.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "fileitemwidget.h"

FileListWidget::FileListWidget(QWidget* parent) : QWidget(parent) {
    setFixedSize(229, 600);
    m_listWidget = new QListWidget(this);
    m_listWidget->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_listWidget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listWidget->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_listWidget->setSpacing(2);
    m_listWidget->setStyleSheet(
        "QListWidget {   background-color: #FFFFFF;   border: none;}"
        "QListWidget::item {   border: none;   padding: 0;}"
        "QScrollBar:vertical {   border: none;   background: #f0f0f0;   width: 9px;}"
        "QScrollBar::handle:vertical {   background: #CCCCCC;   min-height: 20px;}"
        "QScrollBar::handle:vertical:hover {   background: #999999;}"
        "QScrollBar::handle:vertical:pressed {   background: #808080;}"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical {   height: 16px;   background: "
        "transparent;   subcontrol-origin: margin;}"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical {   background: none;}");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_listWidget);

    m_pdfButton = new QPushButton(tr("Save as PDF"), this);
    m_pdfButton->setObjectName("pdfButton");
    m_pdfButton->setFixedHeight(32);
    m_pdfButton->setStyleSheet(
        "QPushButton { background-color: #0099FF; color: #FFFFFF; border: none; }"
        "QPushButton:pressed { background-color: #007ACC; }");
    m_pdfButton->hide();
    layout->addWidget(m_pdfButton);
    connect(m_pdfButton, &QPushButton::clicked, this, [this] { emit pdfRequested(picturesForPdf()); });
    connect(m_listWidget, &QListWidget::itemSelectionChanged, this, &FileListWidget::showChosenTiles);
    connect(m_listWidget, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (const auto* tile = m_listWidget->itemWidget(item)->findChild<FileItemWidget*>())
            emit tileClicked(tile->path());
    });
}

void FileListWidget::setShowAllTools(bool on) {
    m_listWidget->setSelectionMode(on ? QAbstractItemView::ExtendedSelection
                                      : QAbstractItemView::SingleSelection);
    if (!on)
        m_listWidget->clearSelection();
    m_pdfButton->setVisible(on);
}

QStringList FileListWidget::picturesForPdf() const {
    QStringList chosen, all;
    for (int row = 0; row < m_listWidget->count(); ++row) {
        QListWidgetItem* item = m_listWidget->item(row);
        const FileItemWidget* tile = tileAt(row);
        const QString suffix = tile ? QFileInfo(tile->path()).suffix().toLower() : QString();
        if (suffix != "jpg" && suffix != "jpeg")
            continue;
        all << tile->path();
        if (item->isSelected())
            chosen << tile->path();
    }
    return chosen.isEmpty() ? all : chosen;
}

// Chosen tiles show the checked look; only with all tools shown can more than one be chosen.
void FileListWidget::showChosenTiles() {
    if (m_listWidget->selectionMode() != QAbstractItemView::ExtendedSelection)
        return;
    for (int row = 0; row < m_listWidget->count(); ++row) {
        QListWidgetItem* item = m_listWidget->item(row);
        if (FileItemWidget* tile = tileAt(row))
            tile->setChosen(item->isSelected());
    }
}

// The tile of a row; none while the row is being taken out (its widget goes first, then the
// selection changes).
FileItemWidget* FileListWidget::tileAt(int row) const {
    QWidget* container = m_listWidget->itemWidget(m_listWidget->item(row));
    return container != nullptr ? container->findChild<FileItemWidget*>() : nullptr;
}

void FileListWidget::addPath(const QString& path) {
    auto* item = new QListWidgetItem(m_listWidget);
    item->setSizeHint(QSize(229, 150));

    auto* tile = new FileItemWidget(path);
    auto* container = new QWidget;
    auto* row = new QHBoxLayout(container);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(tile, 0, Qt::AlignCenter);
    m_listWidget->setItemWidget(item, container);

    // The row is looked up when the button is clicked: rows above it may have gone in the meantime.
    // The list disposes of the container (and the tile in it) later, after the click has returned.
    connect(tile, &FileItemWidget::removeRequested, this, [this, item](FileItemWidget*) {
        const int at = m_listWidget->row(item);
        if (at >= 0)
            delete m_listWidget->takeItem(at);
    });
    connect(tile, &FileItemWidget::doubleClicked, this, &FileListWidget::onItemDoubleClicked);
}

void FileListWidget::onItemDoubleClicked(const QString& filePath) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(filePath));
}
