// Placeholder source until the PLUMEX processing subsystem lands.
