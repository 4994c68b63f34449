// SPDX-License-Identifier: GPL-3.0-or-later
// The time-lapse dialog: a picture every 1 s to 60 min, for a time or until stopped.
#include "timelapsedialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>

TimeLapseDialog::TimeLapseDialog(const TimeLapsePlan& plan, QWidget* parent)
    : QDialog(parent),
      m_intervalLabel(new QLabel(this)),
      m_interval(new QSpinBox(this)),
      m_intervalUnit(new QComboBox(this)),
      m_untilStopped(new QRadioButton(this)),
      m_forDuration(new QRadioButton(this)),
      m_duration(new QTimeEdit(this)),
      m_keepPictures(new QCheckBox(this)),
      m_start(new QPushButton(this)),
      m_cancel(new QPushButton(this)) {
    setObjectName("timeLapseDialog");
    m_intervalUnit->addItems({QString(), QString()});
    m_duration->setDisplayFormat("H:mm:ss");
    m_duration->setMinimumTime(QTime(0, 0, 1));
    m_duration->setMaximumTime(QTime(23, 59, 59));

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_intervalLabel, 0, 0);
    layout->addWidget(m_interval, 0, 1);
    layout->addWidget(m_intervalUnit, 0, 2);
    layout->addWidget(m_untilStopped, 1, 0, 1, 3);
    layout->addWidget(m_forDuration, 2, 0);
    layout->addWidget(m_duration, 2, 1, 1, 2);
    layout->addWidget(m_keepPictures, 3, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_start);
    layout->addLayout(buttons, 4, 0, 1, 3);
    m_start->setDefault(true);

    const bool minutes = plan.intervalS >= 60 && plan.intervalS % 60 == 0;
    m_intervalUnit->setCurrentIndex(minutes ? 1 : 0);
    followChoices();
    m_interval->setValue(minutes ? plan.intervalS / 60 : plan.intervalS);
    (plan.durationS > 0 ? m_forDuration : m_untilStopped)->setChecked(true);
    m_duration->setTime(QTime(0, 0).addSecs(plan.durationS > 0 ? plan.durationS : 3600));
    m_keepPictures->setChecked(plan.keepPictures);
    followChoices();

    connect(m_intervalUnit, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &TimeLapseDialog::followChoices);
    connect(m_forDuration, &QRadioButton::toggled, this, &TimeLapseDialog::followChoices);
    connect(m_start, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    retranslate();
}

TimeLapsePlan TimeLapseDialog::plan() const {
    TimeLapsePlan plan;
    plan.intervalS = m_interval->value() * (m_intervalUnit->currentIndex() == 1 ? 60 : 1);
    plan.durationS = m_forDuration->isChecked() ? QTime(0, 0).secsTo(m_duration->time()) : 0;
    plan.keepPictures = m_keepPictures->isChecked();
    return plan;
}

void TimeLapseDialog::followChoices() {
    // 1 s to 59 s, or 1 min to 60 min.
    m_interval->setRange(1, m_intervalUnit->currentIndex() == 1 ? TimeLapsePlan::kMaxIntervalS / 60 : 59);
    m_duration->setEnabled(m_forDuration->isChecked());
}

void TimeLapseDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void TimeLapseDialog::retranslate() {
    setWindowTitle(tr("Time-lapse"));
    m_intervalLabel->setText(tr("A picture every"));
    m_intervalUnit->setItemText(0, tr("seconds"));
    m_intervalUnit->setItemText(1, tr("minutes"));
    m_untilStopped->setText(tr("Until stopped"));
    m_forDuration->setText(tr("For (hours:minutes:seconds)"));
    m_keepPictures->setText(tr("Keep the pictures as JPEG files beside the video"));
    m_start->setText(tr("Start"));
    m_cancel->setText(tr("Cancel"));
}
