-- outlet.db: the wanted state of every outlet, restored at start.
-- Empty at the factory: nothing is switched on after the first start.
CREATE TABLE status (
    port   INTEGER PRIMARY KEY,  -- outlet from 0
    on_off INTEGER NOT NULL DEFAULT 0  -- 1 wanted on, 0 wanted off
);
