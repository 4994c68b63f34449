// SPDX-License-Identifier: GPL-3.0-or-later
// One tile of the captured-file panel: the thumbnail of a file, its shortened name and a delete button.
#include "fileitemwidget.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdio>

#include "controls/custombutton.h"
#include "pdfthumbnail.h"
#include "recording/videothumbnail.h"

namespace {

const QSize kThumbnailBounds(100, 100);

// A recording's first picture with a play mark and its length over it; null when it cannot be read.
QImage videoThumbnail(const QString& path) {
    QImage image;
    double seconds = 0;
    if (!VideoThumbnail::read(path, kThumbnailBounds, &image, &seconds))
        return {};
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(image.width() / 2.0, image.height() / 2.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 140));
    painter.drawEllipse(centre, 14, 14);
    painter.setBrush(Qt::white);
    painter.drawPolygon(
        QPolygonF({centre + QPointF(-5, -8), centre + QPointF(-5, 8), centre + QPointF(9, 0)}));
    const int total = int(seconds + 0.5);
    const QString length = QString("%1:%2").arg(total / 60).arg(total % 60, 2, 10, QChar('0'));
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    const QRect box = painter.fontMetrics().boundingRect(length).adjusted(-3, -1, 3, 1);
    const QRect placed = box.translated(image.width() - box.right() - 3, image.height() - box.bottom() - 3);
    painter.fillRect(placed, QColor(0, 0, 0, 160));
    painter.setPen(Qt::white);
    painter.drawText(placed, Qt::AlignCenter, length);
    painter.end();
    return image;
}

}  // namespace

FileItemWidget::FileItemWidget(const QString& path, QWidget* parent, bool loadThumbnail)
    : QWidget(parent), m_path(path) {
    setFixedSize(181, 150);

    topWidget = new QWidget(this);
    m_checkBox = new QCheckBox(topWidget);
    m_checkBox->setFixedSize(20, 20);
    m_pixmapLabel = new QLabel(topWidget);
    m_pixmapLabel->setAlignment(Qt::AlignCenter);
    m_pixmapLabel->setStyleSheet("border: none; background: transparent;");
    m_pixmapLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_thumbnailPending = !loadThumbnail;
    if (loadThumbnail)
        setThumbnail(thumbnail(path));

    m_textLabel = new QLabel(this);
    m_textLabel->setText(displayName(path));
    m_textLabel->setStyleSheet("background-color: #FFFFFF; border: none;");
    m_textLabel->setWordWrap(true);
    m_textLabel->setMaximumWidth(160);
    QFont font = m_textLabel->font();
    font.setPointSize(8);
    m_textLabel->setFont(font);

    m_deleteButton = new QToolButton(this);
    CustomButton::setToolButton(m_deleteButton, ":/image/svg/clearAll.svg", ":/image/svg/clearAll_press.svg",
                                ":/image/svg/clearAll.svg", "", 20, 20, 20, 20, 0, 6);

    auto* checkLayout = new QHBoxLayout;
    checkLayout->addWidget(m_checkBox, 0, Qt::AlignLeft | Qt::AlignTop);
    checkLayout->addStretch();
    auto* vLayout = new QVBoxLayout;
    vLayout->addStretch();
    vLayout->addWidget(m_pixmapLabel, 0, Qt::AlignCenter);
    vLayout->addStretch();
    auto* hLayout = new QHBoxLayout;
    hLayout->addStretch();
    hLayout->addLayout(vLayout);
    hLayout->addStretch();
    auto* topLayout = new QVBoxLayout(topWidget);
    topLayout->setContentsMargins(2, 2, 2, 2);
    topLayout->setSpacing(0);
    topLayout->addLayout(checkLayout);
    topLayout->addLayout(hLayout);

    auto* bottomLayout = new QHBoxLayout;
    bottomLayout->setContentsMargins(5, 0, 5, 5);
    bottomLayout->setSpacing(18);
    bottomLayout->addWidget(m_textLabel, 1, Qt::AlignCenter);
    bottomLayout->addWidget(m_deleteButton, 2);

    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(4);
    mainLayout->addWidget(topWidget);
    mainLayout->addLayout(bottomLayout);

    connect(m_deleteButton, &QToolButton::clicked, this, [this] { emit removeRequested(this); });

    updateBorder(false);
    m_checkBox->setStyleSheet(
        "QCheckBox::indicator { width: 0px; height: 0px; }"
        "QCheckBox { color: rgba(0,0,0,0); background: transparent; border: none; }");
}

// The picture is decoded at tile size: a JPEG decoder then scales while it decodes, so a 4K capture
// costs a fraction of a full decode and never occupies a full-size image.
QImage FileItemWidget::thumbnail(const QString& path) {
    // A folder of pictures (a time-lapse's stills) shows its first one.
    if (QFileInfo(path).isDir()) {
        const QStringList pictures = QDir(path).entryList({"*.jpg", "*.jpeg"}, QDir::Files, QDir::Name);
        return pictures.isEmpty() ? QImage() : thumbnail(QDir(path).filePath(pictures.first()));
    }
    if (path.endsWith(".pdf", Qt::CaseInsensitive))
        return PdfThumbnail::firstPage(path, kThumbnailBounds);
    const QString suffix = QFileInfo(path).suffix();
    if (suffix == "mp4" || suffix == "mkv")
        return videoThumbnail(path);
    QImageReader reader(path);
    const QSize fullSize = reader.size();
    if (fullSize.isValid())
        reader.setScaledSize(fullSize.scaled(kThumbnailBounds, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    // Formats that cannot tell their size before decoding arrive at full size.
    if (!image.isNull() && !fullSize.isValid())
        return image.scaled(kThumbnailBounds, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

void FileItemWidget::setThumbnail(const QImage& image) {
    m_thumbnailPending = false;
    if (image.isNull()) {
        m_pixmapLabel->setText(tr("No load image"));
        m_pixmapLabel->setStyleSheet("color: gray;");
        return;
    }
    m_pixmapLabel->setPixmap(QPixmap::fromImage(image));
}

QString FileItemWidget::displayName(const QString& path) {
    const QFileInfo info(path);
    const QString fileName = info.fileName();
    const QString extension = info.suffix();
    const QString baseName = info.baseName();
    if (fileName.length() <= 30)
        return fileName;
    if (extension.length() > 109)
        return "......" + extension.left(10);
    const int prefixLen = 10 - extension.length();
    if (prefixLen > 0)
        return baseName.left(prefixLen) + "......" + extension;
    return "...." + extension;
}

void FileItemWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    Q_UNUSED(event);
    emit doubleClicked(m_path);
}

void FileItemWidget::resizeEvent(QResizeEvent* event) {
    emit resized();
    QWidget::resizeEvent(event);
}

void FileItemWidget::retranslateUi() {
    // Only a tile without a picture shows a text.
    if (!m_pixmapLabel->text().isEmpty())
        m_pixmapLabel->setText(tr("No load image"));
}

void FileItemWidget::setChosen(bool chosen) {
    topWidget->setStyleSheet(chosen ? "background-color: #0099FF; border: none;"
                                    : "background-color: #333333; border: none;");
}

// The check box is invisible and its state is never read, so both states look the same.
void FileItemWidget::updateBorder(bool checked) {
    Q_UNUSED(checked);
    topWidget->setStyleSheet("background-color: #333333; border: none;");
    printf("************height=%d\n", topWidget->height());
}
