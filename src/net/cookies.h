#pragma once

// Cookie texts: entries "name=value" (or a bare word) separated by ';'.
// Only names and values travel, no attributes.

#include "text/values.h"

namespace quorvel {

// Folds the `received` cookies into `cookies`: received entries first, in
// their order, then the caller's entries whose names were not received;
// entries ending in "=deleted" are dropped. Afterwards `cookies` holds that
// merged text joined by "; " and `received` its own entries without any
// blank. Returns a copy of the merged text.
Text MergeCookies(Text& cookies, Text& received);

// The text before the entry's first '=', or the whole entry, trimmed.
Text CookieName(const Text& entry);

// Whether an entry of `entries` has exactly this name (case counts).
bool CookieListHasName(const TextArray& entries, const Text& name);

}  // namespace quorvel
