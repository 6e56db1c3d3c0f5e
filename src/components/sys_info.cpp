#include "components/sys_info.h"

#include <sys/utsname.h>

#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>

#include "components/date_func.h"
#include "components/zel_component.h"

namespace {

QString CompilerName() {
#if defined(__clang__)
  return QStringLiteral("Clang %1").arg(__clang_major__);
#elif defined(__GNUC__)
  return QStringLiteral("GCC %1").arg(__GNUC__);
#else
  return QStringLiteral("C++");
#endif
}

}  // namespace

TZELSysInfo::TZELSysInfo() : TZELSysInfo(RunningSystem()) {}

TZELSysInfo::TZELSysInfo(const TSysVersion& version)
    : FVersion(version),
      FWordSize(static_cast<int>(sizeof(void*) * 8)),
      FCompiler(CompilerName()),
      FExeDate(GetFileDate(QCoreApplication::applicationFilePath())) {}

TSysVersion TZELSysInfo::RunningSystem() {
  utsname u{};
  if (uname(&u) != 0) return {QStringLiteral("Unix"), 0, 0, 0};
  return ParseRelease(QString::fromLocal8Bit(u.sysname), QString::fromLocal8Bit(u.release));
}

TSysVersion TZELSysInfo::ParseRelease(const QString& sysName, const QString& release) {
  TSysVersion v;
  v.Name = sysName;
  // The leading dotted numbers; what follows ("-18-amd64") is the vendor's.
  static const QRegularExpression numbers(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
  const QRegularExpressionMatch m = numbers.match(release);
  if (!m.hasMatch()) return v;
  v.Major = m.captured(1).toInt();
  v.Minor = m.captured(2).toInt();
  v.Build = static_cast<quint16>(std::min(m.captured(3).toLongLong(), 65535LL));
  return v;
}

QString TZELSysInfo::GetInfo(int index) const {
  switch (index) {
    case 1:
      return QString::number(FVersion.Major);
    case 2:
      return QString::number(FVersion.Minor);
    case 3:
      return QString::number(FVersion.Build >> 8);
    case 4:
      return QString::number(FVersion.Build & 0xFF);
    case 5:
      return QString::number(FVersion.Build);
    case 6:
      return FVersion.Name;
    case 7:
      return QStringLiteral("%1 (%2.%3 Build %4)")
          .arg(FVersion.Name)
          .arg(FVersion.Major)
          .arg(FVersion.Minor)
          .arg(FVersion.Build);
    case 8:
      return QStringLiteral("%1 bits").arg(FWordSize);
    case 9:
      return FCompiler;
    case 10:
      return DateTimeToDateTimeStr(FExeDate);
    default:
      return {};
  }
}

QString VersionInfoText(const TZELSysInfo& info) {
  return QStringLiteral("Compiler: ") + info.GetInfo(9) + QStringLiteral(" (") + info.GetInfo(8) +
         QStringLiteral(")\r\nSystem: ") + info.GetInfo(7) + QStringLiteral("\r\nExecutable: ") +
         info.GetInfo(10) + QStringLiteral("\r\nZEL-Library: ") + GetLibraryVersion();
}
