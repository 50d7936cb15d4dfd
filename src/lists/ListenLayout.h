#pragma once

#include "ListenSpalten.h"

#include <vector>

namespace db {
class Transaction;
}

// The screen layout of a stored list design, as the database gives it.
std::vector<ListenSpalten::LayoutZeile> BildschirmLayoutLaden(db::Transaction& tr, int liste);
