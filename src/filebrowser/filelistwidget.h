// SPDX-License-Identifier: GPL-3.0-or-later
// The captured-file panel: a column of thumbnail tiles, one for each file captured since start.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class FileItemWidget;
class QListWidget;
class QPushButton;

class FileListWidget : public QWidget {
    Q_OBJECT

public:
    explicit FileListWidget(QWidget* parent = nullptr);

    // Appends a tile for the file at path below the others.
    void addPath(const QString& path);

    // With all tools shown, tiles can be chosen (Ctrl- and Shift-click) and "Save as PDF" shows.
    void setShowAllTools(bool on);

    // The pictures to put in a PDF, in the panel's order: the chosen tiles', or every tile's when
    // none is chosen. Only JPEG pictures: PDF and video tiles are left out.
    QStringList picturesForPdf() const;

signals:
    // "Save as PDF" was clicked with these pictures.
    void pdfRequested(const QStringList& pictures);
    // A tile was clicked: the file it shows.
    void tileClicked(const QString& path);

public slots:
    // Opens the file in the desktop's default application for its type.
    void onItemDoubleClicked(const QString& filePath);

private:
    friend class TestFileBrowser;
    friend class TestCapture;

    void showChosenTiles();
    FileItemWidget* tileAt(int row) const;

    QListWidget* m_listWidget = nullptr;
    QPushButton* m_pdfButton = nullptr;  // shown with all tools
};
