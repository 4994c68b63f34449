// SPDX-License-Identifier: GPL-3.0-or-later
// The small dialog that starts a time-lapse: how often, for how long (or until stopped), whether the
// stills are kept beside the video.
#pragma once

#include <QDialog>

#include "timelapseplan.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimeEdit;

class TimeLapseDialog : public QDialog {
    Q_OBJECT

public:
    // Opens with plan's choices (the last run's).
    explicit TimeLapseDialog(const TimeLapsePlan& plan, QWidget* parent = nullptr);

    TimeLapsePlan plan() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void followChoices();  // the ranges of the interval's unit, the duration's field

    QLabel* m_intervalLabel;
    QSpinBox* m_interval;
    QComboBox* m_intervalUnit;  // seconds, minutes
    QRadioButton* m_untilStopped;
    QRadioButton* m_forDuration;
    QTimeEdit* m_duration;
    QCheckBox* m_keepPictures;
    QPushButton* m_start;
    QPushButton* m_cancel;
};
