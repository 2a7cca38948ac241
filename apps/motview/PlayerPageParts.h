#ifndef PLAYER_PAGE_PARTS_H
#define PLAYER_PAGE_PARTS_H

// The fixed parts of the page that plays a take: its style sheet and its
// script. The script reads the take from the JSON element "take" (see
// PlayerPageWriter.h) and draws it into the SVG element "stage".
extern const char* const thePlayerPageStyle;
extern const char* const thePlayerPageScript;

#endif
