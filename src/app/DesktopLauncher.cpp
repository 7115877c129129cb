#include "app/DesktopLauncher.h"

#include <QDesktopServices>

namespace melvo {

bool QtDesktopLauncher::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

}  // namespace melvo
