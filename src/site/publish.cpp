#include "site/publish.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "components/file_names.h"

namespace {

// Made absolute by hand: a name such as ":x" is a folder here, not one of
// Qt's resources.
QString AbsolutePath(const QString& path) {
  return QDir::cleanPath(path.startsWith(u'/') ? path : QDir::currentPath() + u'/' + path);
}

// The folder a local path stands for, links resolved as far as the path
// exists, so that a link into the site cannot hide where it leads.
QString ResolvedFolder(const QString& path) {
  QString existing = AbsolutePath(path);
  QString rest;
  while (!QFileInfo::exists(existing) && existing != QLatin1String("/")) {
    const qsizetype slash = existing.lastIndexOf(u'/');
    rest = existing.mid(slash + 1) + (rest.isEmpty() ? QString() : u'/' + rest);
    existing = slash > 0 ? existing.left(slash) : QStringLiteral("/");
  }
  QString resolved = QFileInfo(existing).canonicalFilePath();
  if (resolved.isEmpty()) resolved = existing;
  return QDir::cleanPath(rest.isEmpty() ? resolved : resolved + u'/' + rest);
}

bool Within(const QString& inner, const QString& outer) {
  return inner == outer || inner.startsWith(outer == QLatin1String("/") ? outer : outer + u'/');
}

}  // namespace

bool IsRemoteTarget(const QString& target) {
  if (target.startsWith(QLatin1String("rsync://"))) return true;
  const qsizetype colon = target.indexOf(u':');
  const qsizetype slash = target.indexOf(u'/');
  return colon > 0 && (slash < 0 || colon < slash);
}

QString PublishTargetProblem(const QString& localRoot, const QString& target) {
  if (target.trimmed().isEmpty())
    return QStringLiteral(
        "No publish target is set. Type where the site goes, for example "
        "user@host:/var/www/site/ or a mounted folder.");
  if (localRoot.trimmed().isEmpty() || !QFileInfo(localRoot).isDir())
    return QStringLiteral("The local root \"%1\" is not a folder.").arg(localRoot);
  if (target != target.trimmed())
    return QStringLiteral("The publish target \"%1\" begins or ends with a blank.").arg(target);
  if (IsRemoteTarget(target)) {
    QString host = target.startsWith(QLatin1String("rsync://")) ? target.mid(8) : target;
    host = host.section(u':', 0, 0).section(u'@', -1);
    if (host.isEmpty() || host.startsWith(u'-'))
      return QStringLiteral("The publish target \"%1\" names no usable host.").arg(target);
    return {};
  }
  if (QFile::encodeName(target) != PathBytes(target))
    return QStringLiteral("The publish target \"%1\" cannot be handed to rsync by its own bytes.")
        .arg(ShownName(target));
  const QString root = ResolvedFolder(localRoot);
  const QString folder = ResolvedFolder(target);
  if (Within(folder, root))
    return QStringLiteral(
               "The publish target \"%1\" is the local root or lies inside it: "
               "publishing would write into the site itself.")
        .arg(target);
  if (Within(root, folder))
    return QStringLiteral(
               "The publish target \"%1\" holds the local root: publishing could "
               "change or remove the site itself.")
        .arg(target);
  return {};
}

QString RsyncTarget(const QString& target) {
  if (IsRemoteTarget(target)) return target;
  const QString path = AbsolutePath(target);
  return path.endsWith(u'/') ? path : path + u'/';
}

QStringList RsyncArguments(const TPublishJob& job) {
  // Checksums decide what is sent, so a page that was only touched stays
  // where it is; --times then only gives the server's copy the new date.
  QStringList args{QStringLiteral("--recursive"),
                   QStringLiteral("--links"),
                   QStringLiteral("--safe-links"),
                   QStringLiteral("--times"),
                   QStringLiteral("--checksum"),
                   QStringLiteral("--itemize-changes"),
                   QStringLiteral("--out-format=") + QLatin1String(RsyncItemFormat)};
  if (job.DryRun) args << QStringLiteral("--dry-run");
  if (job.Delete) {
    args << QStringLiteral("--delete");
    if (job.MaxDelete >= 0) args << QStringLiteral("--max-delete=%1").arg(job.MaxDelete);
  }
  for (const QString& pattern : job.Exclude) args << QStringLiteral("--exclude=") + pattern;
  if (job.Progress) args << QStringLiteral("--info=progress2");
  args << QStringLiteral("--") << QStringLiteral("./") << RsyncTarget(job.Target);
  return args;
}

QByteArray UnescapeRsyncName(const QByteArray& name) {
  QByteArray bytes;
  bytes.reserve(name.size());
  for (qsizetype i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 4 < name.size() && name[i + 1] == '#') {
      const QByteArray digits = name.mid(i + 2, 3);
      bool ok = digits.size() == 3;
      for (char d : digits) ok = ok && d >= '0' && d <= '7';
      if (ok) {
        bytes += char(digits.toInt(nullptr, 8));
        i += 4;
        continue;
      }
    }
    bytes += name[i];
  }
  return bytes;
}

bool ParseRsyncItem(const QByteArray& line, TPublishItem& item) {
  static const QRegularExpression pattern(
      QStringLiteral("^(\\*deleting  |[<>ch.][fdLDS][^ ]{9}) (\\d+) (\\d+) (.+)$"),
      QRegularExpression::DotMatchesEverythingOption);
  // Latin-1 keeps every byte as one character, so the name's bytes survive.
  const QRegularExpressionMatch m = pattern.match(QString::fromLatin1(line));
  if (!m.hasMatch()) return false;
  const QString flags = m.captured(1);
  QByteArray name = UnescapeRsyncName(m.captured(4).toLatin1());
  item = TPublishItem();
  if (flags.startsWith(u'*')) {
    item.Action = TPublishItem::Remove;
    item.IsFile = !name.endsWith('/');
  } else {
    const QChar kind = flags[1];
    item.IsFile = kind == u'f' || kind == u'L';
    item.IsLink = kind == u'L';
    const bool sent = flags[0] == u'<' || flags[0] == u'>' || flags[0] == u'c';
    if (sent)
      item.Action =
          flags.mid(2) == QLatin1String("+++++++++") ? TPublishItem::Create : TPublishItem::Change;
    if (kind == u'f') item.Size = m.captured(2).toLongLong();
  }
  item.Name = NameFromBytes(std::string_view(name.constData(), size_t(name.size())));
  return true;
}

TPublishPreview ParseRsyncPreview(const QByteArray& output) {
  TPublishPreview preview;
  for (const QByteArray& line : output.split('\n')) {
    if (line.isEmpty()) continue;
    TPublishItem item;
    if (!ParseRsyncItem(line, item)) {
      preview.Unread.append(QString::fromLocal8Bit(line));
      continue;
    }
    // The target folder itself is no news.
    if (item.Action == TPublishItem::Other || item.Name == QLatin1String("./")) continue;
    preview.Items.append(item);
    if (!item.IsFile) continue;
    if (item.Action == TPublishItem::Remove) {
      ++preview.RemoveCount;
    } else {
      ++preview.SendCount;
      preview.SendSize += item.Size;
    }
  }
  return preview;
}

QString ItemLineName(const QString& name) {
  QString shown = ShownName(name);
  for (QChar& c : shown)
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) c = QChar(0xFFFD);
  return shown;
}

QString FileCountText(int count) {
  return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

QString PublishSizeText(qint64 size) {
  if (size < 1024)
    return size == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(size);
  static const char* const Units[] = {"KB", "MB", "GB", "TB"};
  double value = double(size) / 1024;
  int unit = 0;
  while (value >= 1024 && unit < 3) {
    value /= 1024;
    ++unit;
  }
  return QString::number(value, 'f', 1) + u' ' + QLatin1String(Units[unit]);
}

QStringList PreviewLines(const TPublishPreview& preview, const QString& target) {
  QStringList lines{QStringLiteral("Preview of the publish to %1:").arg(target)};
  static const char* const Words[] = {"create  ", "change  ", "remove  "};
  for (const TPublishItem& item : preview.Items) {
    QString line = QLatin1String(Words[item.Action]) + ItemLineName(item.Name);
    if (item.IsFile && !item.IsLink && item.Action != TPublishItem::Remove)
      line += QStringLiteral("  (%1)").arg(PublishSizeText(item.Size));
    lines.append(line);
  }
  QString total = QStringLiteral("%1 to send (%2)")
                      .arg(FileCountText(preview.SendCount), PublishSizeText(preview.SendSize));
  if (preview.RemoveCount > 0)
    total += QStringLiteral(", %1 to remove").arg(FileCountText(preview.RemoveCount));
  lines.append(total + u'.');
  return lines;
}

QString SendQuestion(const TPublishPreview& preview, const QString& target) {
  QString text =
      QStringLiteral("Send %1 (%2) to %3")
          .arg(FileCountText(preview.SendCount), PublishSizeText(preview.SendSize), target);
  if (preview.RemoveCount > 0)
    text += QStringLiteral(" and remove %1 there").arg(FileCountText(preview.RemoveCount));
  return text + u'?';
}

QString SentAfterFailureText(const TPublishPreview& before, const TPublishPreview* after,
                             const QString& target) {
  if (!after)
    return QStringLiteral("Which files reached %1 is not known: publish again to complete it.")
        .arg(target);
  const int landed = std::max(0, before.SendCount - after->SendCount);
  QString text = QStringLiteral("%1 of %2 reached %3")
                     .arg(landed)
                     .arg(FileCountText(before.SendCount), target);
  if (after->SendCount > 0)
    text += QStringLiteral("; %1 still to send").arg(FileCountText(after->SendCount));
  if (after->RemoveCount > 0)
    text += QStringLiteral("; %1 still to remove").arg(FileCountText(after->RemoveCount));
  return text + u'.';
}

QString RsyncFailureText(int exitStatus, const QString& errorText) {
  struct TMeaning {
    int Status;
    const char* Text;
  };
  static const TMeaning Meanings[] = {
      {1, "rsync was called wrongly"},
      {3, "a file or folder could not be chosen"},
      {5, "the server's rsync could not be started"},
      {10, "the connection failed"},
      {11, "a file could not be read or written"},
      {12, "the connection broke off"},
      {20, "the transfer was stopped"},
      {23, "some files were not transferred"},
      {24, "some files vanished while they were sent"},
      {25, "more files would have been removed than the preview showed"},
      {30, "the server did not answer in time"},
      {255, "the SSH connection failed"},
  };
  // ssh's own words say more than the status rsync makes of them.
  static const TMeaning SshWords[] = {
      {0, "Permission denied"},  {1, "Host key verification failed"},
      {2, "Connection refused"}, {2, "Could not resolve hostname"},
      {2, "No route to host"},   {2, "Connection timed out"},
  };
  static const char* const SshMeanings[] = {"the server refused the login",
                                            "the server's host key was not accepted",
                                            "the server could not be reached"};
  QString meaning = QStringLiteral("rsync failed");
  for (const TMeaning& m : Meanings)
    if (m.Status == exitStatus) meaning = QLatin1String(m.Text);
  if (exitStatus == 12 || exitStatus == 255)
    for (const TMeaning& w : SshWords)
      if (errorText.contains(QLatin1String(w.Text))) {
        meaning = QLatin1String(SshMeanings[w.Status]);
        break;
      }
  QString text =
      QStringLiteral("Publishing failed: %1 (rsync exit status %2).").arg(meaning).arg(exitStatus);
  const QString own = errorText.trimmed();
  if (!own.isEmpty()) text += QStringLiteral("\n") + own;
  return text;
}
