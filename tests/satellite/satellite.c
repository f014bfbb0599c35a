/* A resource library needs a module to hold its resources; it is only ever mapped as data. */
int ostrafen_satellite_marker;
