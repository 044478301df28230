#include "view/element_draw_options.h"

CElementDrawOptions CElementDrawOptions::FromSettings(const CAppSettings& settings,
                                                      bool monochrome) {
  CElementDrawOptions options;
  options.colors = settings.colors;
  options.labels = settings.labels;
  options.supportDisplay = settings.support;
  options.monochrome = monochrome;
  return options;
}
