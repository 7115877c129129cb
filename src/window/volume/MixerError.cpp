// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/volume/MixerError.h"

#include "window/common/Dialogs.h"

namespace melvo {

QString mixerErrorText(long code) {
    switch (code) {
        case 2:
            return QStringLiteral("指定されたデバイスIDは無効です。");
        case 4:
            return QStringLiteral("指定リソースはすでに割り当て済みです。");
        case 5:
            return QStringLiteral("指定されたハンドルは無効です。");
        case 6:
            return QStringLiteral("利用可能なミキサーデバイスがありません。");
        case 7:
            return QStringLiteral("リソースを割り当てることはできません｡");  // half-width stop
        case 10:
            return QStringLiteral("1つ以上の無効なフラグがあります。");
        case 11:
            return QStringLiteral("1つ以上の無効なパラメータがあります。");
        default:
            return QString();
    }
}

void showMixerError(Dialogs& dialogs, long code) {
    if (code == 0) return;
    dialogs.message(QStringLiteral("[%1] ").arg(code) + mixerErrorText(code),
                    MessageIcon::Exclamation);
}

}  // namespace melvo
