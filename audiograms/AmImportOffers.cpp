// The Audiogram Manager offers of the chart's first drawing. Until the import from the
// Audiogram Manager exists there is nothing to offer: no newer test is reported and the
// search for a subject being entered finds nothing. The import replaces this file.

#include "audiograms/AmImportOffers.h"

#include "app/CQuorinDoc.h"

namespace quorin {

int CheckForNewAmAudiogram(CQuorinDoc&)
{
    return 0;
}

} // namespace quorin

int CQuorinDoc::OfferAmSearch()
{
    return 0;
}
