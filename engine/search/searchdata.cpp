#include "engine/search/searchdata.h"

#include <cstring>

Position searchPosition;
uint32_t nodeCount = 0;
uint32_t nextTimeCheck = 25000;
int maxPly = 0;
int nullMoveEnabled = 1;
PlyMoveList plyMoves[SearchPlies];
PlySnapshot plySnapshots[SearchPlies];
PvTable pvTable;

void initSearchTables() {
    std::memset(plyMoves, 0, sizeof plyMoves);
    std::memset(plySnapshots, 0, sizeof plySnapshots);
    std::memset(pvTable, 0, sizeof pvTable);
    for (PlyMoveList& list : plyMoves) {
        list.frontier = 2;
        list.moveClass = ClassQuiet;
    }
    nodeCount = 0;
    nextTimeCheck = 25000;
}
