#pragma once

#include <QClipboard>
#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "main_window/qt/form1.h"

// Readable failures: gtest finds this beside QString.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QColor& colour, std::ostream* out) {
    *out << colour.name().toStdString();
}
inline void PrintTo(const QFont& font, std::ostream* out) { *out << font.toString().toStdString(); }

// GoogleTest prints a C string compared with anything but std::string as a
// pointer; compared with a QString it is text too.
namespace testing::internal {
template <>
class FormatForComparison<const char*, QString> {
public:
    static std::string Format(const char* value) { return ::testing::PrintToString(value); }
};
}  // namespace testing::internal

namespace velmora::testing {

// A fresh calculator window per test, driven as a user drives it.
class Form1Test : public ::testing::Test {
public:
    void SetUp() override {
        window = std::make_unique<Form1>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename T>
    T* control(const QString& name) const {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QLineEdit* dataSizeBox() const { return control<QLineEdit>("Text1"); }
    QLineEdit* speedBox() const { return control<QLineEdit>("Text2"); }
    QLineEdit* timeBox(int i) const {
        return control<QLineEdit>(QStringLiteral("Text3(%1)").arg(i));
    }
    QComboBox* sizeUnitList() const { return control<QComboBox>("Combo1"); }
    QComboBox* speedUnitList() const { return control<QComboBox>("Combo2"); }
    QRadioButton* modeButton(int i) const {
        return control<QRadioButton>(QStringLiteral("Option1(%1)").arg(i));
    }

    // Selects what the field holds and types over it, key by key.
    static void typeInto(QLineEdit* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Delete);
        else
            QTest::keyClicks(field, text);
    }

    // Replaces what the field holds by pasting, one change in one go.
    static void pasteInto(QLineEdit* field, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }

    // Picks a list item with the keyboard: Home, then Down as often as needed.
    static void chooseUnit(QComboBox* list, int index) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(list, Qt::Key_Down);
    }

    void chooseMode(int index) const {
        QRadioButton* button = modeButton(index);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    // Years to seconds as typed; "" leaves a field empty.
    void typeTime(const std::array<const char*, 6>& texts) const {
        for (int i = 0; i < 6; ++i)
            typeInto(timeBox(i), QString::fromLatin1(texts[static_cast<std::size_t>(i)]));
    }

    std::array<QString, 6> timeTexts() const {
        std::array<QString, 6> texts;
        for (int i = 0; i < 6; ++i)
            texts[static_cast<std::size_t>(i)] = timeBox(i)->text();
        return texts;
    }

    int runs(core::CalcMode mode) const { return window->calculationRuns(mode); }

    std::unique_ptr<Form1> window;
};

inline std::array<QString, 6> times(const std::array<const char*, 6>& texts) {
    std::array<QString, 6> result;
    for (std::size_t i = 0; i < texts.size(); ++i)
        result[i] = QString::fromLatin1(texts[i]);
    return result;
}

}  // namespace velmora::testing
