// The captured-file panel: a column of thumbnail tiles, one for each file captured since start.
#pragma once

#include <QString>
#include <QWidget>

class QListWidget;

class FileListWidget : public QWidget {
    Q_OBJECT

public:
    explicit FileListWidget(QWidget* parent = nullptr);

    // Appends a tile for the file at path below the others.
    void addPath(const QString& path);

public slots:
    // Opens the file in the desktop's default application for its type.
    void onItemDoubleClicked(const QString& filePath);

private:
    friend class TestFileBrowser;
    friend class TestCapture;

    QListWidget* m_listWidget = nullptr;
};
