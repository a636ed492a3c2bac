// The manifests' check: a release's own manifests pass it, and each seeded fault fails it with its own message.
// The release here is two small zips of random bytes with their SHA256SUMS, given manifests by the same
// scripts/manifests.js that scripts/release.sh runs. TESSIVAL_NODE_MODULES names the installed npm packages.
"use strict";
const assert = require("node:assert/strict");
const crypto = require("node:crypto");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const { beforeEach, afterEach, describe, test } = require("node:test");

const root = path.resolve(__dirname, "..", "..");
const manifests = require(path.join(root, "scripts", "manifests.js"));
const { checkRelease, projectFacts } = require(path.join(root, "scripts", "check-manifests.js"));
const modules = process.env.TESSIVAL_NODE_MODULES;
const localEnv = { SOURCE_DATE_EPOCH: "1767225600" };
const project = projectFacts(fs.readFileSync(path.join(root, "CMakeLists.txt"), "utf8"), localEnv);

function makeRelease(env) {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), "tessival-manifests-"));
    const lines = manifests.architectures.map(({ arch }) => {
        const zip = manifests.zipName(project.version, arch);
        const bytes = crypto.randomBytes(512);
        fs.writeFileSync(path.join(folder, zip), bytes);
        return `${crypto.createHash("sha256").update(bytes).digest("hex")}  ${zip}\n`;
    });
    fs.writeFileSync(path.join(folder, "SHA256SUMS"), lines.join(""));
    manifests.writeManifests(folder, project.version, project.homepage, env);
    return folder;
}

function edit(folder, file, change) {
    const full = path.join(folder, file);
    const before = fs.readFileSync(full, "utf8");
    const after = change(before);
    assert.notEqual(after, before, `the seed changed nothing in ${file}`);
    fs.writeFileSync(full, after);
}

const [versionFile, , installerFile, scoopFile] = manifests.manifestFiles;
const seeds = [
    ["a misspelled key in the winget installer file", installerFile,
        (t) => t.replace("NestedInstallerType:", "NestedInstalerType:"),
        /installer\.yaml: \/NestedInstalerType: a key that winget's 1\.12\.0 schema does not define/],
    ["a hash that is not the zip's", installerFile,
        (t) => t.replace(/(InstallerSha256: "?)[0-9A-F]/, (m, head) => head + (m.endsWith("0") ? "1" : "0")),
        /installer\.yaml: the x86 hash is .*, SHA256SUMS says/],
    ["another ManifestVersion", versionFile,
        (t) => t.replace(/ManifestVersion: .*/, "ManifestVersion: 1.10.0"),
        /Tessival\.yaml: ManifestVersion is "1\.10\.0", not 1\.12\.0/],
    ["an unknown key in the Scoop manifest", scoopFile,
        (t) => t.replace('"license"', '"licence": "MIT",\n    "license"'),
        /tessival\.json: against Scoop's schema: \/ must NOT have additional properties \(licence\)/],
    ["a URL to another zip", scoopFile,
        (t) => t.replace(/-x64\.zip"/, '-x86.zip"'),
        /tessival\.json: the x64 download's file name is "Tessival-.*-x86\.zip"/],
    ["another version", scoopFile,
        (t) => t.replace(/"version": ".*"/, '"version": "9.9.9"'),
        /tessival\.json: version is "9\.9\.9", the project's is /],
    ["the program behind Scoop's shim", scoopFile,
        (t) => t.replace('"env_add_path": "."', '"bin": "Tessival.exe"'),
        /tessival\.json: Tessival\.exe must come on the PATH through env_add_path/],
];

describe("the release's manifests", () => {
    let folder;
    beforeEach(() => {
        assert.ok(modules, "TESSIVAL_NODE_MODULES must name the installed npm packages (scripts/check-manifests.sh)");
        folder = makeRelease(localEnv);
    });
    afterEach(() => fs.rmSync(folder, { recursive: true, force: true }));

    test("as written, pass the check", () => {
        assert.deepEqual(checkRelease(folder, { modules, env: localEnv }), []);
    });

    for (const [name, file, change, expected] of seeds) {
        test(`with ${name}, fail it`, () => {
            edit(folder, file, change);
            const problems = checkRelease(folder, { modules, env: localEnv });
            assert.ok(problems.some((p) => expected.test(p)), `expected ${expected}, got:\n${problems.join("\n")}`);
        });
    }

    test("fail the check, saying where the schemas should be, where they are missing", () => {
        const schemas = path.join(folder, "no schemas here");
        const problems = checkRelease(folder, { modules, env: localEnv, schemas });
        assert.equal(problems.length, 1);
        assert.match(problems[0], /^The package managers' schemas are not at .*no schemas here .*fails rather than skip/);
    });

    test("built on GitHub Actions, download from the repository they were built in", () => {
        const ci = { ...localEnv, GITHUB_ACTIONS: "true", GITHUB_SERVER_URL: "https://github.com", GITHUB_REPOSITORY: "someone/fork" };
        const fork = makeRelease(ci);
        try {
            const text = fs.readFileSync(path.join(fork, installerFile), "utf8");
            assert.match(text, /InstallerUrl: https:\/\/github\.com\/someone\/fork\/releases\/download\/v/);
            assert.deepEqual(checkRelease(fork, { modules, env: ci }), []);
            // The same manifests, checked as a local build's, name the wrong homepage.
            assert.ok(checkRelease(fork, { modules, env: localEnv }).some((p) => /PackageUrl is .*someone\/fork/.test(p)));
        } finally {
            fs.rmSync(fork, { recursive: true, force: true });
        }
    });
});
