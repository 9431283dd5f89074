// program.cpp - the fixed text of each program, byte for byte as the pages
// have always carried it, irregular markup included.
#include "program.h"

const ProgramText LastCallersProgram = {
    "tembrix.cfg",
    "Oh Crap!! VORPA.CFG not found!!!",
    2,
    {
        "<title>mystic last callers cgi displayer v1.00 win32</title>",
        "<meta name=\"GENERATOR\" content=\"pralix 1.00\">",
        "<meta name=\"FORMATTER\" content=\"pralix 1.00\">",
        "<table  width=\"60%\" border=\"1\" cellspacing=\"0\" cellpadding=\"0\" bgcolor=\"#808080\">",
        "<TR><TD colspan=6><center><b>",
        " Last Caller 2 html</b></center></TR></TD>",
        "<tr><th>call #</th><th>Users Name </th><th>Location </th><th>Baud </th><th>N </th><th>Date</th></tr>",
        {
            "</tr>",
            "</table>",
            "</center><br><b>mystic last call cgi v1.00 win32 for Mystic 1.07.3<br> by the project's contributors. Compiled 11/01/02</b>",
            "</body>",
            "</html>",
        },
        5,
    },
};

const ProgramText NodeStatusProgram = {
    "quandelo.cfg",
    "Oh Crap!! QUANDELO.CFG not found!!!",
    3,
    {
        "<title>mystic online status cgi displayer v1.00 win32</title>",
        "<meta name=\"GENERATOR\" content=\"quendalo 1.00\">",
        "<meta name=\"FORMATTER\" content=\"quandelo 1.00\">",
        "<table width=\"60%\" border=\"1\" cellspacing=\"0\" cellpadding=\"0\" bgcolor=\"#808080\">",
        "<TR><TD colspan=4><center><b> Mystic BBS WhoisOnline 2 html for ",
        "</b></center></TR></TD>",
        "<tr><th>Node #</th><th>Users Handle</th><th>Location</th><th>Node Activity </th></tr>",
        {
            "</tr>",
            "</table>",
            "</center><br><b>mystic whoisonline cgi v1.00  win32 for Mystic 1.07.3<br> by the project's contributors. ",
            "Compiled on 11/01/02</b><br>",
            "<A HREF=\"https://www.example.org/bbs-web-pages/\">Other Kessa related products.</A>",
            "</body>",
            "</html>",
        },
        7,
    },
};

const ProgramText OnelinersProgram = {
    "5morvane.cfg",
    "Oh Crap!! PRALIX.CFG not found!!!",
    2,
    {
        "<title>mystic bbs oneliner cgi displayer v1.00 win32</title>",
        "<meta name=\"GENERATOR\" content=\"pralix 1.00\">",
        "<meta name=\"FORMATTER\" content=\"pralix 1.00\">",
        "<table  width=\"60%\" border=\"1\" cellspacing=\"0\" cellpadding=\"0\" bgcolor=\"#808080\">",
        "<TR><TD colspan=5><center><b>",
        " Mystic BBS Oneliner 2 html</b></center></TR></TD>",
        "<tr><th>Users Handle</th><th>Users Words </th></tr>",
        {
            "</tr>",
            "</table>",
            "</center><br><b>mystic oneliners > cgi v1.00 win32 for Mystic 1.07.3<br> by the project's contributors.  Compiled 11/01/02</b>",
            "</body>",
            "</html>",
        },
        5,
    },
};
