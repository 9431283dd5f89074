// node_status_page.h - the node status page, after the configuration.
#pragma once

// Writes the header, then one row per node from chat1.dat up to the node
// limit taken from NodeLimit, then the footer. The first node file that is
// missing or short ends what the page shows.
void WriteNodeStatusPage();
