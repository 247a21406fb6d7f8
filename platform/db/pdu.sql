-- pdu.db (and its factory copy pdu_default.db): the unit's settings, limits,
-- delays, names, tasks, ping watchdogs, event log and e-mail tables, with the
-- rows the daemon updates but never inserts.
BEGIN;

CREATE TABLE settings (
    name  TEXT PRIMARY KEY NOT NULL,
    value TEXT
);

-- One unit row (port NULL) and one row per outlet for each address.
CREATE TABLE alarms (
    id              INTEGER PRIMARY KEY,
    addr            INTEGER NOT NULL DEFAULT 0,
    port            INTEGER,
    voltage_max     REAL,
    voltage_min     REAL,
    current_max     REAL,
    current_min     REAL,
    outage_max      REAL,
    outage_min      REAL,
    temperature_max REAL,
    temperature_min REAL,
    humidity_max    REAL,
    humidity_min    REAL
);
CREATE UNIQUE INDEX alarms_addr_port ON alarms(addr, ifnull(port, -1));

CREATE TABLE delays (
    addr    INTEGER NOT NULL DEFAULT 0,
    port    INTEGER NOT NULL,
    "on"    INTEGER NOT NULL DEFAULT 0,
    off     INTEGER NOT NULL DEFAULT 0,
    restart INTEGER NOT NULL DEFAULT 5,
    PRIMARY KEY (addr, port)
);

-- An empty ip means the outlet has no watchdog.
CREATE TABLE ping (
    addr     INTEGER NOT NULL DEFAULT 0,
    port     INTEGER NOT NULL,
    ip       TEXT NOT NULL DEFAULT '',
    timeout  INTEGER NOT NULL DEFAULT 1,
    interval INTEGER NOT NULL DEFAULT 10,
    action   INTEGER NOT NULL DEFAULT 2,
    enabled  INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY (addr, port)
);

CREATE TABLE tasks (
    id     INTEGER PRIMARY KEY AUTOINCREMENT,
    addr   INTEGER NOT NULL DEFAULT 0,
    ports  INTEGER NOT NULL DEFAULT 0,
    action INTEGER NOT NULL DEFAULT 0,
    date   TEXT NOT NULL,
    time   TEXT NOT NULL,
    repeat INTEGER NOT NULL DEFAULT 0,
    remark TEXT NOT NULL DEFAULT ''
);

CREATE TABLE pdu_names (
    addr   INTEGER PRIMARY KEY NOT NULL,
    name   TEXT,
    port_0 TEXT,
    port_1 TEXT,
    port_2 TEXT,
    port_3 TEXT,
    port_4 TEXT,
    port_5 TEXT,
    port_6 TEXT,
    port_7 TEXT
);

-- Column order matters: the daemon inserts without a column list.
CREATE TABLE system_logs (
    id       INTEGER PRIMARY KEY,
    type     INTEGER NOT NULL,
    content  TEXT NOT NULL,
    is_read  INTEGER NOT NULL DEFAULT 0,
    datetime TEXT NOT NULL
);

CREATE TABLE email_settings (
    id       INTEGER PRIMARY KEY,
    status   INTEGER NOT NULL DEFAULT 0,
    host     TEXT NOT NULL DEFAULT '',
    port     INTEGER NOT NULL DEFAULT 25,
    username TEXT NOT NULL DEFAULT '',
    password TEXT NOT NULL DEFAULT '',
    address  TEXT NOT NULL DEFAULT ''
);

CREATE TABLE email_receivers (
    id     INTEGER PRIMARY KEY,
    status INTEGER NOT NULL DEFAULT 1,
    name   TEXT NOT NULL DEFAULT '',
    email  TEXT NOT NULL
);

-- Column order matters: the daemon inserts without a column list.
CREATE TABLE email_records (
    id        INTEGER PRIMARY KEY,
    status    INTEGER NOT NULL DEFAULT 0,
    receivers TEXT NOT NULL,
    body      TEXT NOT NULL,
    datetime  TEXT NOT NULL
);

-- Factory settings: an 8-outlet, 16 A master at cascade address 0.
INSERT INTO settings(name, value) VALUES
    ('hard_id', 'G020300000000001'),
    ('pdu_type', 'master'),
    ('slave_address', '0'),
    ('slave_addresses', '[]'),
    ('language', 'EN'),
    ('description', ''),
    ('soft_version', '1.0.0'),
    ('ip', '192.168.0.100'),
    ('mask', '255.255.255.0'),
    ('gateway', '192.168.0.1'),
    ('dns', '192.168.0.1'),
    ('second_dns', '0.0.0.0'),
    ('dhcp', '0'),
    ('mac', '02:00:00:00:00:01'),
    ('netbios_name', 'PDU'),
    ('http_port', '80'),
    ('https_port', '443'),
    ('enable_redirect', '0'),
    ('manage_control_port', '8890'),
    ('ntp_server_ip', '127.0.0.1'),
    ('second_ntp_server_ip', '127.0.0.1'),
    ('screen_dir', '1'),
    ('backlight_auto_off', '0');

INSERT INTO alarms(addr, port, voltage_max, voltage_min, current_max, current_min, outage_max, outage_min,
                   temperature_max, temperature_min, humidity_max, humidity_min)
    VALUES (0, NULL, 250, 190, 16, 0, 20, 0, 50, 0, 90, 0);
INSERT INTO alarms(addr, port, current_max, current_min, outage_max, outage_min) VALUES
    (0, 0, 10, 0, 16, 0), (0, 1, 10, 0, 16, 0), (0, 2, 10, 0, 16, 0), (0, 3, 10, 0, 16, 0),
    (0, 4, 10, 0, 16, 0), (0, 5, 10, 0, 16, 0), (0, 6, 10, 0, 16, 0), (0, 7, 10, 0, 16, 0);

INSERT INTO delays(addr, port) VALUES (0, 0), (0, 1), (0, 2), (0, 3), (0, 4), (0, 5), (0, 6), (0, 7);
INSERT INTO ping(addr, port) VALUES (0, 0), (0, 1), (0, 2), (0, 3), (0, 4), (0, 5), (0, 6), (0, 7);

INSERT INTO pdu_names(addr, name, port_0, port_1, port_2, port_3, port_4, port_5, port_6, port_7)
    VALUES (0, 'PDU', 'Outlet1', 'Outlet2', 'Outlet3', 'Outlet4', 'Outlet5', 'Outlet6', 'Outlet7', 'Outlet8');

COMMIT;
