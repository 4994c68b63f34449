// SPDX-License-Identifier: GPL-3.0-or-later
// One tile of the captured-file panel: the thumbnail of a file, its shortened name and a delete button.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QMouseEvent;
class QResizeEvent;
class QToolButton;

class FileItemWidget : public QWidget {
    Q_OBJECT

public:
    // The thumbnail is read at once, or, with loadThumbnail false, handed in later (setThumbnail).
    explicit FileItemWidget(const QString& path, QWidget* parent = nullptr, bool loadThumbnail = true);

    // Any thread: the thumbnail of the file at path (a picture, a recording's first picture with its
    // length, a PDF's first page, a folder's first picture); null when the file cannot be read.
    static QImage thumbnail(const QString& path);
    // Shows the thumbnail, or "No load image" for a null one.
    void setThumbnail(const QImage& image);
    // Made without its thumbnail, and none handed in yet.
    bool thumbnailPending() const { return m_thumbnailPending; }

    // The file name as the tile shows it: names longer than 30 characters keep at most 10
    // characters of base name and extension around a run of dots.
    static QString displayName(const QString& path);

    QString path() const { return m_path; }
    // The chosen look (a blue frame around the thumbnail) on or off.
    void setChosen(bool chosen);
    // Sets the tile's text again in the language installed now.
    void retranslateUi();

signals:
    void removeRequested(FileItemWidget* widget);
    void doubleClicked(QString filePath);
    void resized();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private slots:
    void updateBorder(bool checked);

private:
    friend class TestFileBrowser;
    friend class TestCapture;
    friend class TestPageCaptures;
    friend class TestRecording;

    QString m_path;
    QWidget* topWidget = nullptr;     // the dark area around the thumbnail
    QCheckBox* m_checkBox = nullptr;  // invisible; its state is never read
    QLabel* m_pixmapLabel = nullptr;  // the thumbnail, or "No load image"
    QLabel* m_textLabel = nullptr;
    QToolButton* m_deleteButton = nullptr;
    bool m_thumbnailPending = false;
};
