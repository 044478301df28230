#include "app/ui/program_printer.h"

#include <QPrinter>

QPrinter& ProgramPrinter() {
  static QPrinter printer(QPrinter::HighResolution);
  return printer;
}
