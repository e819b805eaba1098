#include "app/qt/fonts.h"

#include <QFont>
#include <QStringList>

namespace vantrel::qt {

void InstallFontSubstitutes() {
  QFont::insertSubstitutions(QString::fromUtf8("ＭＳ ゴシック"), QStringList()
                                                                     << "IPAGothic"
                                                                     << "Noto Sans Mono CJK JP");
  QFont::insertSubstitutions(QString::fromUtf8("ＭＳ Ｐゴシック"), QStringList()
                                                                       << "IPAPGothic"
                                                                       << "Noto Sans CJK JP");
}

}  // namespace vantrel::qt
