#include "HitDaten.h"

void LeerHITBefehl(THITPBefehl& befehl)
{
    befehl = THITPBefehl();
}

void LeerHITQuery(THITPQuery& query)
{
    query = THITPQuery();
}
