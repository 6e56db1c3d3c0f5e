#pragma once
// A real, small file system for full-disk tests: a tmpfs of the given size
// mounted on a fresh folder, unmounted again at the end. Mounting needs the
// super-user; where it is refused, Mounted() is false and the test skips.
#include <sys/mount.h>

#include <QDir>
#include <QTemporaryDir>

class TSmallDisk {
 public:
  explicit TSmallDisk(int kilobytes) {
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0777";
    FMounted = FDir.isValid() && ::mount("tmpfs", QFile::encodeName(FDir.path()).constData(),
                                         "tmpfs", 0, options.constData()) == 0;
  }
  ~TSmallDisk() {
    if (FMounted) ::umount2(QFile::encodeName(FDir.path()).constData(), MNT_DETACH);
  }
  bool Mounted() const { return FMounted; }
  QString Path(const QString& name = {}) const { return FDir.filePath(name); }

 private:
  QTemporaryDir FDir;
  bool FMounted = false;
};

#define QUILLMERE_SMALL_DISK(disk, kilobytes) \
  TSmallDisk disk(kilobytes);                 \
  if (!disk.Mounted()) QSKIP("a small tmpfs cannot be mounted here (needs the super-user)")
