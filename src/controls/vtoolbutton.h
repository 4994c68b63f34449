// SPDX-License-Identifier: GPL-3.0-or-later
// The tool button of every bar and popup: draws its icon in a mode that follows press, hover, check
// and enabled state, and keeps a small map of values by role.
#pragma once

#include <QMap>
#include <QToolButton>
#include <QVariant>

class QStyleOptionToolButton;

class VToolButton : public QToolButton {
    Q_OBJECT

public:
    explicit VToolButton(QWidget* parent = nullptr);
    ~VToolButton() override;

    // Prepends spaceNum spaces to text; the small font is replaced when the button is dressed.
    void setText(const QString& text, int spaceNum = 0);
    void setData(int role, const QVariant& value);
    QVariant data(int role) const;
    // Hides the base class's: the option's icon becomes the single pixmap of the chosen mode.
    void initStyleOption(QStyleOptionToolButton* pOption) const;

protected:
    void paintEvent(QPaintEvent* pPaintEvent) override;

private:
    QMap<int, QVariant> mDataMap;
};
