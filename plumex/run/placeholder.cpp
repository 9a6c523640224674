// Placeholder source until the PLUMEX run subsystem lands.
