// ravelin-core.js under Node: convert() of a raw database held in memory gives every file the
// Linux ravelin-convert --keep wrote, byte for byte; readDatabase() of the converted database
// holds the readings the Linux spreadsheet export listed.
// usage: node core_test.js ravelin-core.js FOLDER (FOLDER: line7.raw, converted and exported
// there as CSV by the Linux tools)
'use strict';
const fs = require('fs');
const path = require('path');

const [modulePath, folder] = process.argv.slice(2);
let failures = 0;
function check(condition, what) {
    if (!condition) {
        console.log(`FAIL: ${what}`);
        failures++;
    }
}

function csvRows(name) {
    const lines = fs.readFileSync(path.join(folder, name), 'latin1').split('\n');
    const head = lines[0].split(',');
    return lines.slice(1).filter((l) => l !== '').map((l) => {
        const cells = l.split(',');
        return Object.fromEntries(head.map((h, i) => [h, cells[i]]));
    });
}

(async () => {
    const core = await require(path.resolve(modulePath))();

    // The Linux converter's outputs are the files named line7.<extension>, the raw one aside.
    const expected = fs.readdirSync(folder).filter((n) => /^line7\.[^.]+$/.test(n) && n !== 'line7.raw').sort();
    const raw = new Uint8Array(fs.readFileSync(path.join(folder, 'line7.raw')));
    const { result, files } = core.convert('line7.raw', raw);
    check(result === 1, `convert() returned ${result}`);
    check(JSON.stringify(Object.keys(files).sort()) === JSON.stringify(expected),
          `convert() gave ${Object.keys(files).sort()}, the Linux converter ${expected}`);
    for (const name of expected) {
        const linux = fs.readFileSync(path.join(folder, name));
        const ours = files[name];
        check(ours instanceof Uint8Array && Buffer.compare(linux, Buffer.from(ours || [])) === 0,
              `${name} differs from the Linux converter's`);
    }

    const db = core.readDatabase(files['line7.tvd']);
    check(db.complete && db.stop === '', `readDatabase() stopped: ${db.stop}`);
    const lines = db.surveys.flatMap((s) => s.lines);
    const gravity = lines.flatMap((l) => l.gravity_readings);
    const ip = lines.flatMap((l) => [...l.ip_readings, ...l.ip_user_readings]);
    const kx4Rows = csvRows('line7-kx4.csv');
    const ipRows = csvRows('line7-ip.csv');
    check(gravity.length === kx4Rows.length,
          `${gravity.length} KX-4 readings, the Linux export ${kx4Rows.length}`);
    check(ip.length === ipRows.length, `${ip.length} IP readings, the Linux export ${ipRows.length}`);
    check(gravity.length > 0 && gravity[0].gravity === Math.fround(Number(kx4Rows[0].GRAVITY)),
          `first gravity ${gravity[0] && gravity[0].gravity}, the export ${kx4Rows[0].GRAVITY}`);
    check(ip.length > 0 && ip[0].ro === Math.fround(Number(ipRows[0].RO)),
          `first Ro ${ip[0] && ip[0].ro}, the export ${ipRows[0].RO}`);
    check(lines.some((l) => l.kind === 'bore_hole' && l.bore_hole_readings.length > 0),
          'no bore hole with readings');

    let threw = false;
    try {
        core.convert('../line7.raw', raw);
    } catch (e) {
        threw = true;
    }
    check(threw, 'convert() took a name with a folder');

    console.log(failures ? `${failures} checks failed` :
                `ravelin-core.js: the same ${expected.length} files as the Linux converter; ` +
                `${gravity.length} KX-4 and ${ip.length} IP readings read back`);
    process.exit(failures ? 1 : 0);
})();
