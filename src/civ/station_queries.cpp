#include "civ/station_queries.h"

namespace {
StationQueries* g_answerer = nullptr;
}  // namespace

void SetStationQueries(StationQueries* answerer) { g_answerer = answerer; }

StationQueries& Ask() {
    static StationQueries idle;
    return g_answerer ? *g_answerer : idle;
}
