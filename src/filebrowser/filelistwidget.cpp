// SPDX-License-Identifier: GPL-3.0-or-later
// The captured-file panel: a column of thumbnail tiles, one for each file captured since start and,
// with all tools shown, for each file of the save folder.
#include "filelistwidget.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QUrl>
#include <QVBoxLayout>

#include "fileitemwidget.h"

namespace {

bool isPicture(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == "jpg" || suffix == "jpeg";
}

// The same file has one row, however its path is spelled.
QString rowKey(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

FileListWidget::FileListWidget(QWidget* parent) : QWidget(parent) {
    setFixedSize(229, 600);
    m_listWidget = new QListWidget(this);
    m_listWidget->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_listWidget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listWidget->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_listWidget->setSpacing(2);
    m_listWidget->setUniformItemSizes(true);  // every row is a tile: thousands are laid out at once
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
    m_searchableBox = new QCheckBox(tr("with searchable text"), this);
    m_searchableBox->setObjectName("checkBox_searchablePdf");
    m_searchableBox->setStyleSheet("QCheckBox { color: #333333; background: #FFFFFF; padding: 4px; }");
    m_searchableBox->hide();
    layout->addWidget(m_searchableBox);
    layout->addWidget(m_pdfButton);
    connect(m_searchableBox, &QCheckBox::toggled, this, &FileListWidget::searchablePdfToggled);
    m_listWidget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_listWidget, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QListWidgetItem* item = m_listWidget->itemAt(at);
        if (item == nullptr || m_listWidget->selectionMode() != QAbstractItemView::ExtendedSelection)
            return;
        QMenu menu(this);
        fillTileMenu(&menu, item->data(Qt::UserRole).toString());
        if (!menu.isEmpty())
            menu.exec(m_listWidget->viewport()->mapToGlobal(at));
    });
    connect(m_pdfButton, &QPushButton::clicked, this, [this] { emit pdfRequested(picturesForPdf()); });
    connect(m_listWidget, &QListWidget::itemSelectionChanged, this, &FileListWidget::showChosenTiles);
    connect(m_listWidget, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit tileClicked(item->data(Qt::UserRole).toString()); });

    // A single thread: thumbnails fill in one after another without taking the cores from the camera.
    m_thumbnails.setMaxThreadCount(1);
    m_shownTilesTimer.setSingleShot(true);
    connect(&m_shownTilesTimer, &QTimer::timeout, this, &FileListWidget::makeShownTiles);
    const auto tilesInView = [this] { m_shownTilesTimer.start(0); };
    connect(m_listWidget->verticalScrollBar(), &QScrollBar::valueChanged, this, tilesInView);
    connect(m_listWidget->verticalScrollBar(), &QScrollBar::rangeChanged, this, tilesInView);
}

FileListWidget::~FileListWidget() {
    // Thumbnails not begun are not wanted any more; the one being read is waited for.
    m_thumbnails.clear();
    m_thumbnails.waitForDone();
}

void FileListWidget::retranslateUi() {
    m_pdfButton->setText(tr("Save as PDF"));
    m_searchableBox->setText(tr("with searchable text"));
    for (int row = 0; row < m_listWidget->count(); ++row)
        if (FileItemWidget* tile = tileAt(row))
            tile->retranslateUi();
}

void FileListWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_listWidget->scrollToBottom();
    makeShownTiles();
}

void FileListWidget::setShowAllTools(bool on) {
    m_listWidget->setSelectionMode(on ? QAbstractItemView::ExtendedSelection
                                      : QAbstractItemView::SingleSelection);
    if (!on)
        m_listWidget->clearSelection();
    m_pdfButton->setVisible(on);
    m_searchableBox->setVisible(on);
}

void FileListWidget::setSearchablePdf(bool on) {
    const QSignalBlocker block(m_searchableBox);
    m_searchableBox->setChecked(on);
}

void FileListWidget::fillTileMenu(QMenu* menu, const QString& path) {
    if (isPicture(path))
        menu->addAction(tr("Copy text"), this, [this, path] { emit copyTextRequested(path); });
}

QStringList FileListWidget::picturesForPdf() const {
    QStringList chosen, all;
    for (int row = 0; row < m_listWidget->count(); ++row) {
        QListWidgetItem* item = m_listWidget->item(row);
        const QString path = item->data(Qt::UserRole).toString();
        if (!isPicture(path))
            continue;
        all << path;
        if (item->isSelected())
            chosen << path;
    }
    return chosen.isEmpty() ? all : chosen;
}

void FileListWidget::clearChoice() {
    m_listWidget->clearSelection();
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
    QListWidgetItem* item = m_rows.value(rowKey(path));
    if (item == nullptr)
        item = appendRow(path);
    makeTile(item, true);
    if (isVisible())
        m_listWidget->scrollToItem(item);
}

void FileListWidget::listPaths(const QStringList& paths) {
    for (const QString& path : paths)
        if (!m_rows.contains(rowKey(path)))
            appendRow(path);
    m_shownTilesTimer.start(0);
}

void FileListWidget::removePaths(const QStringList& paths) {
    for (const QString& path : paths)
        takeRow(path);
}

QListWidgetItem* FileListWidget::appendRow(const QString& path) {
    // Filled before it joins the list: the list then lays it out once.
    auto* item = new QListWidgetItem;
    item->setSizeHint(QSize(229, 150));
    item->setData(Qt::UserRole, path);
    m_listWidget->addItem(item);
    m_rows.insert(rowKey(path), item);
    return item;
}

// The list disposes of the row's container (and the tile in it) later, after a click on its delete
// button has returned.
void FileListWidget::takeRow(const QString& path) {
    if (QListWidgetItem* item = m_rows.take(rowKey(path)))
        delete m_listWidget->takeItem(m_listWidget->row(item));
}

void FileListWidget::makeTile(QListWidgetItem* item, bool loadThumbnail) {
    const QString path = item->data(Qt::UserRole).toString();
    auto* tile = new FileItemWidget(path, nullptr, loadThumbnail);
    auto* container = new QWidget;
    auto* row = new QHBoxLayout(container);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(tile, 0, Qt::AlignCenter);
    m_listWidget->setItemWidget(item, container);
    if (m_listWidget->selectionMode() == QAbstractItemView::ExtendedSelection)
        tile->setChosen(item->isSelected());

    // The row is looked up by its file when the button is clicked: rows above it may have gone.
    connect(tile, &FileItemWidget::removeRequested, this, [this, path](FileItemWidget*) { takeRow(path); });
    connect(tile, &FileItemWidget::doubleClicked, this, &FileListWidget::onItemDoubleClicked);
    if (loadThumbnail)
        return;
    // Runs on the thumbnail thread; the panel, which waits for that thread before it goes, takes the
    // picture on the GUI thread.
    m_thumbnails.start([this, path] {
        const QImage image = FileItemWidget::thumbnail(path);
        QMetaObject::invokeMethod(
            this, [this, path, image] { showThumbnail(path, image); }, Qt::QueuedConnection);
    });
}

void FileListWidget::makeShownTiles() {
    if (!isVisible() || m_listWidget->count() == 0)
        return;
    const QRect area = m_listWidget->viewport()->rect();
    // The row at an edge of the view, looked for a few pixels inwards: the spacing between rows holds
    // none. -1 when there is none (the last row ends above the bottom edge).
    const auto rowAt = [this, &area](int y, int inwards) {
        for (int step = 0; step < 8; ++step, y += inwards) {
            const int row = m_listWidget->indexAt(QPoint(area.center().x(), y)).row();
            if (row >= 0)
                return row;
        }
        return -1;
    };
    const int top = rowAt(area.top(), 2);
    const int bottom = rowAt(area.bottom(), -2);
    const int first = top < 0 ? 0 : top - 1;
    // Never more rows than the view holds: a list not laid out yet finds no row at either edge.
    const int last =
        qMin(bottom < 0 ? m_listWidget->count() - 1 : bottom + 1, first + area.height() / 100 + 3);
    for (int at = qMax(0, first); at <= qMin(last, m_listWidget->count() - 1); ++at)
        if (m_listWidget->itemWidget(m_listWidget->item(at)) == nullptr)
            makeTile(m_listWidget->item(at), false);
}

void FileListWidget::showThumbnail(const QString& path, const QImage& image) {
    QListWidgetItem* item = m_rows.value(rowKey(path));
    QWidget* container = item != nullptr ? m_listWidget->itemWidget(item) : nullptr;
    FileItemWidget* tile = container != nullptr ? container->findChild<FileItemWidget*>() : nullptr;
    // A tile made since with its own thumbnail (the file was written again) keeps that one.
    if (tile != nullptr && tile->thumbnailPending())
        tile->setThumbnail(image);
}

void FileListWidget::onItemDoubleClicked(const QString& filePath) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(filePath)))
        emit openFailed(filePath);
}
