#pragma once

class QPrinter;

// The printer of the program, whose settings the print set-up changes and printing uses.
// Made on first use; lives until the program ends.
QPrinter& ProgramPrinter();
