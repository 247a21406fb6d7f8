-- energy.db: running energy counters per port and energy per port and hour.
-- Energies are hundredths of a kWh; port 255 is the inlet; hours are local
-- time as 'YYYY-MM-DD HH:00:00'.
CREATE TABLE variable (
    port             INTEGER PRIMARY KEY,
    reference_energy INTEGER NOT NULL DEFAULT 0,  -- last accepted raw module reading
    real_energy      INTEGER NOT NULL DEFAULT 0,  -- running counter shown and kept
    save_energy      INTEGER NOT NULL DEFAULT 0,  -- running counter at the last hourly save
    save_datetime    TEXT DEFAULT ''              -- hour of that save; empty when never saved
);

-- One row per port and hour: a second write of the same hour replaces it.
CREATE TABLE statistics (
    port     INTEGER NOT NULL,
    energy   INTEGER NOT NULL DEFAULT 0,
    datetime TEXT NOT NULL,
    PRIMARY KEY (port, datetime)
);
CREATE INDEX statistics_datetime ON statistics(datetime);

INSERT INTO variable(port) VALUES (0), (1), (2), (3), (4), (5), (6), (7), (255);
