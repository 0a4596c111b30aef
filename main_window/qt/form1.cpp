#include "main_window/qt/form1.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QLocale>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>

#include "about/qt/frm_about.h"
#include "design/qt/qt_design.h"
#include "main_window/decimal_separator.h"
#include "main_window/qt/accessibility.h"
#include "main_window/qt/lockable_combo_box.h"
#include "main_window/qt/lockable_line_edit.h"
#include "main_window/qt/picture_label.h"

namespace velmora {

Form1::Form1(QWidget* parent) : QWidget(parent) {
    installAccessibleInterfaces();
    // The user's own separator for results, as every toolkit decides it;
    // reading accepts it besides '.'.
    const QLocale locale;
    m_decimalSeparator = WrittenDecimalSeparator(locale.decimalPoint().toStdString(),
                                                 locale.zeroDigit().toStdString());
    createControls();
    connectEvents();
    m_rules.loaded();
    describeUnits();
    announceResults(false);
}

void Form1::connectEvents() {
    // The mode follows the checked button however it became checked: mouse,
    // keyboard, an assistive tool or code.
    for (int i = 0; i < static_cast<int>(m_modes.size()); ++i)
        connect(m_modes[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                m_rules.calculatedQuantityChosen(static_cast<core::CalcMode>(i));
        });
    // Every change that stays, the calculations' own included: the handlers
    // themselves ignore a result field.
    connect(m_dataSize, &LockableLineEdit::changed, this, [this] { m_rules.dataSizeEdited(); });
    connect(m_speed, &LockableLineEdit::changed, this, [this] { m_rules.speedEdited(); });
    for (int i = 0; i < static_cast<int>(m_time.size()); ++i)
        connect(m_time[i], &LockableLineEdit::changed, this, [this, i] { m_rules.timeEdited(i); });
    // Only when the index really moves, so a calculation that sets the unit
    // it already shows starts nothing.
    connect(m_sizeUnit, &LockableComboBox::clicked, this, [this] { m_rules.sizeUnitChosen(); });
    connect(m_speedUnit, &LockableComboBox::clicked, this, [this] { m_rules.speedUnitChosen(); });
    connect(m_logo, &PictureLabel::clicked, this, [this] { m_rules.logoClicked(); });
    // The logo never takes the focus; F1, the usual Help key, opens the
    // About box from anywhere in the window.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { m_rules.logoClicked(); });

    // A size or speed is heard with its unit: the field's description is
    // the unit its list shows.
    for (LockableComboBox* unitList : {m_sizeUnit, m_speedUnit})
        connect(unitList, &QComboBox::currentIndexChanged, this, &Form1::describeUnits);
    // The results are spoken once typing pauses, not at every key.
    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(1000);
    connect(m_pause, &QTimer::timeout, this, [this] { announceResults(true); });
    for (LockableLineEdit* field : {m_dataSize, m_speed})
        connect(field, &QLineEdit::textEdited, m_pause, qOverload<>(&QTimer::start));
    for (LockableLineEdit* field : m_time)
        connect(field, &QLineEdit::textEdited, m_pause, qOverload<>(&QTimer::start));
    for (LockableComboBox* unitList : {m_sizeUnit, m_speedUnit})
        connect(unitList, &QComboBox::activated, m_pause, qOverload<>(&QTimer::start));
    // A new mode changes no result: what it shows is taken as heard.
    for (QRadioButton* option : m_modes)
        connect(option, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                announceResults(false);
        });
}

void Form1::describeUnits() {
    m_dataSize->setAccessibleDescription(m_sizeUnit->currentText());
    m_speed->setAccessibleDescription(m_speedUnit->currentText());
}

void Form1::announceResults(bool speak) {
    // Each result that changed since it was last heard, with its unit.
    const std::array<LockableLineEdit*, 8> fields{m_dataSize, m_speed,   m_time[0], m_time[1],
                                                  m_time[2],  m_time[3], m_time[4], m_time[5]};
    QStringList changed;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        LockableLineEdit* field = fields[i];
        const QString heard = field->isLocked() ? field->text() : QString();
        if (heard.isEmpty() || heard == m_heard[i]) {
            m_heard[i] = heard;
            continue;
        }
        m_heard[i] = heard;
        const QString unit = field->accessibleDescription();
        changed << (field->accessibleName() + QLatin1Char(' ') + heard +
                    (unit.isEmpty() ? QString() : QLatin1Char(' ') + unit));
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (speak && !changed.isEmpty()) {
        QAccessibleAnnouncementEvent said(this, changed.join(QStringLiteral(", ")));
        said.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
        QAccessible::updateAccessibility(&said);
    }
#else
    Q_UNUSED(speak);  // Qt 6.4 cannot announce: a result is heard on its field
#endif
}

LockableLineEdit* Form1::textBox(Field field) const {
    switch (field) {
    case Field::DataSize:
        return m_dataSize;
    case Field::Speed:
        return m_speed;
    case Field::SizeUnit:
    case Field::SpeedUnit:
        break;
    default:
        return m_time[static_cast<std::size_t>(field)];
    }
    return nullptr;
}

LockableComboBox* Form1::list(Field field) const {
    return field == Field::SizeUnit    ? m_sizeUnit
           : field == Field::SpeedUnit ? m_speedUnit
                                       : nullptr;
}

std::string Form1::text(Field textBox) const {
    return this->textBox(textBox)->text().toStdString();
}

void Form1::setText(Field textBox, const std::string& text) {
    this->textBox(textBox)->writeText(QString::fromStdString(text));
}

std::int32_t Form1::itemData(Field list) const { return this->list(list)->currentData().toInt(); }

void Form1::setListIndex(Field list, int index) { this->list(list)->writeIndex(index); }

bool Form1::modeChosen(core::CalcMode mode) const {
    return m_modes[static_cast<std::size_t>(mode)]->isChecked();
}

void Form1::setLocked(Field control, bool locked) {
    if (LockableComboBox* unitList = list(control))
        unitList->setLocked(locked);
    else
        textBox(control)->setLocked(locked);
}

void Form1::setBackColor(Field control, design::Rgb colour) {
    // The theme's text colour may be near-white; on a forced light field the
    // text takes whichever of black and white reads.
    QWidget* widget = list(control);
    if (!widget)
        widget = textBox(control);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, toQColor(colour));
    palette.setColor(QPalette::Text, toQColor(design::ReadableTextOn(colour)));
    widget->setPalette(palette);
}

void Form1::showAboutModal() {
    // Built anew for each opening; the window takes no input until it closes.
    frmAbout about(this);
    about.exec();
}

}  // namespace velmora
