#pragma once

class CBOMGrid;

// Gives a bill of materials the columns a costing user reads, after its item and
// reference: designation, quantity, unit price, total price, discount, sale price, weight
// and labour time of the line. The model document and the samples are shipped so, and a
// new document takes the layout of the model's first run. False when a column could not
// be added (the grid is then left with those added before).
bool AddCostingColumns(CBOMGrid& grid);
