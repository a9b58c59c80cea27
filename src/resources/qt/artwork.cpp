#include "resources/qt/artwork.h"

// Resources in a static library are registered only when asked for.
static void RegisterArtwork() {
  Q_INIT_RESOURCE(taloven);
}

namespace taloven {
namespace {

void EnsureRegistered() {
  static const bool registered = (RegisterArtwork(), true);
  (void)registered;
}

}  // namespace

QIcon ApplicationIcon() {
  EnsureRegistered();
  QIcon icon;
  icon.addFile(QStringLiteral(":/taloven/taloven_icon_32.png"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/taloven/taloven_icon.png"), QSize(256, 256));
  return icon;
}

QPixmap ProductPicture() {
  EnsureRegistered();
  return QPixmap(QStringLiteral(":/taloven/product.png"));
}

}  // namespace taloven
