#pragma once

#include <UpdateConflict.h>

// The question when a save finds the row changed or deleted at another workstation since it was
// read: "Neu laden", "Überschreiben" (only where the row can still be written) or "Abbrechen",
// which is the default and what Escape chooses.
namespace Bearbeitungskonflikt {

db::ConflictAnswer Fragen(const db::UpdateConflict& konflikt);
// Makes Fragen the database layer's conflict handler.
void Einrichten();

}  // namespace Bearbeitungskonflikt
