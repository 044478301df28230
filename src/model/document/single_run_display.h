#pragma once

class CDorneDoc;

// The bill-of-materials view shows page n (0 the totals page, n the n-th run's page,
// which the view has made current): the document keeps the page, its single-run display
// is on while the page of a run whose start is placed is shown and off otherwise, and the
// scene is made again when it does not hold what is now to be shown (all views updated).
void FollowShownPage(CDorneDoc& document, int page);
