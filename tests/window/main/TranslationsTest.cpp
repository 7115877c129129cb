// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Qt's own texts are Japanese whatever the locale.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "window/common/Dialogs.h"
#include "window/main/Translations.h"

namespace melvo {
namespace {

// The test runs in the machine's locale (C in CI), so the Japanese comes from
// the translations the program loads, not from the locale.
TEST(Translations, QuestionButtonsAreJapaneseWhateverTheLocale) {
    ASSERT_TRUE(installJapaneseTranslations(*qApp)) << "qt6-translations-l10n is installed";
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons()) buttons << button->text();
        box->button(QMessageBox::No)->click();
    });
    QtDialogs dialogs;
    EXPECT_FALSE(dialogs.askYesNo(QStringLiteral("ほんとうに削除しますか")));
    EXPECT_TRUE(buttons.join(' ').contains(QStringLiteral("はい")))
        << buttons.join(' ').toStdString();
    EXPECT_TRUE(buttons.join(' ').contains(QStringLiteral("いいえ")));
}

}  // namespace
}  // namespace melvo
