// SPDX-License-Identifier: GPL-3.0-or-later
// The captured-file panel: a column of thumbnail tiles, one for each file captured since start and,
// with all tools shown, for each file of the save folder.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>

class FileItemWidget;
class QCheckBox;
class QImage;
class QMenu;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class FileListWidget : public QWidget {
    Q_OBJECT

public:
    explicit FileListWidget(QWidget* parent = nullptr);
    ~FileListWidget() override;

    // Appends a tile for the file at path below the others, its thumbnail read at once (a capture just
    // written). A row the file has already (listed from the folder) gets the new tile in its place.
    void addPath(const QString& path);
    // Appends rows for files found in the save folder, in the order given; files with a row already
    // are left where they are. A row's tile is made when it scrolls into view and its thumbnail is read
    // off the GUI thread, so that a folder of thousands of files opens at once.
    void listPaths(const QStringList& paths);
    // Takes away the rows of these files (gone from the folder).
    void removePaths(const QStringList& paths);

    // With all tools shown, tiles can be chosen (Ctrl- and Shift-click), "Save as PDF" shows with its
    // "with searchable text" box, and a picture's tile has a menu.
    void setShowAllTools(bool on);
    // Ticks "with searchable text" without emitting searchablePdfToggled.
    void setSearchablePdf(bool on);

    // The pictures to put in a PDF, in the panel's order: the chosen tiles', or every tile's when
    // none is chosen. Only JPEG pictures: PDF and video tiles are left out.
    QStringList picturesForPdf() const;
    // No tile chosen any more: a PDF was made of them, and the next one starts afresh.
    void clearChoice();

    // Sets the panel's texts again in the language installed now.
    void retranslateUi();

signals:
    // "Save as PDF" was clicked with these pictures.
    void pdfRequested(const QStringList& pictures);
    // The user ticked or cleared "with searchable text".
    void searchablePdfToggled(bool on);
    // "Copy text" was chosen in a picture tile's menu.
    void copyTextRequested(const QString& path);
    // A tile was clicked: the file it shows.
    void tileClicked(const QString& path);
    // No application of the desktop took the file of a double-clicked tile.
    void openFailed(const QString& path);

public slots:
    // Opens the file in the desktop's default application for its type; openFailed when there is none.
    void onItemDoubleClicked(const QString& filePath);

protected:
    // The panel opens on the newest tiles, at the bottom.
    void showEvent(QShowEvent* event) override;

private:
    friend class TestFileBrowser;
    friend class TestCapture;

    void showChosenTiles();
    // The menu of the tile of path: entries for pictures only.
    void fillTileMenu(QMenu* menu, const QString& path);
    FileItemWidget* tileAt(int row) const;
    QListWidgetItem* appendRow(const QString& path);
    void takeRow(const QString& path);
    // Puts a tile into the row; its thumbnail now, or later from the thumbnail thread.
    void makeTile(QListWidgetItem* item, bool loadThumbnail);
    // Tiles for the rows in view (and one beyond either edge) that have none yet.
    void makeShownTiles();
    void showThumbnail(const QString& path, const QImage& image);

    QListWidget* m_listWidget = nullptr;
    QPushButton* m_pdfButton = nullptr;       // shown with all tools
    QCheckBox* m_searchableBox = nullptr;     // "with searchable text", beside the button
    QHash<QString, QListWidgetItem*> m_rows;  // the row of each file
    QTimer m_shownTilesTimer;                 // makes the tiles in view once scrolling settles
    QThreadPool m_thumbnails;                 // one thread reading the listed files' thumbnails
};
