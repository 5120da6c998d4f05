#include "platform/ui/StyleManager.h"

TCustomStyleServices* TStyleManager::ActiveStyle() {
  static TCustomStyleServices style;
  return &style;
}

TCustomStyleServices* StyleServices() {
  return TStyleManager::ActiveStyle();
}
