#pragma once

// Most grid rules hold for rows and columns alike; the axis says which.
enum class EGridAxis { Rows, Columns };
