// Writes the package managers' manifests of a release from its zips' hashes: winget's three files (version,
// defaultLocale en-US, installer) in winget/, and Scoop's tessival.json. Plain Node.js, no packages: the release
// needs nothing from npm. The same release gives the same bytes.
// Usage: node scripts/manifests.js <release folder> <version> <homepage from CMakeLists.txt>
// SOURCE_DATE_EPOCH, when set, gives winget's ReleaseDate; nothing else may date a release.
"use strict";
const fs = require("node:fs");
const path = require("node:path");

const root = path.resolve(__dirname, "..");
const packageIdentifier = "Ondrake.Tessival";
const packageName = "Tessival";
const scoopName = "tessival";
// The community repository takes 1.12.0 and refuses newer manifest versions.
const manifestVersion = "1.12.0";
// winget's architectures and Scoop's names for them, each with the zip's suffix.
const architectures = [
    { arch: "x86", scoop: "32bit" },
    { arch: "x64", scoop: "64bit" },
];

// The homepage and download location: on GitHub Actions the repository the release is built in, so that a fork's
// manifests download the fork's releases; elsewhere the one written in CMakeLists.txt.
function releaseHomepage(fromProject, env = process.env) {
    if (env.GITHUB_ACTIONS === "true" && env.GITHUB_SERVER_URL && env.GITHUB_REPOSITORY) {
        return `${env.GITHUB_SERVER_URL}/${env.GITHUB_REPOSITORY}`;
    }
    return fromProject;
}

function zipName(version, arch) {
    return `${packageName}-${version}-${arch}.zip`;
}

function downloadUrl(homepage, version, file) {
    return `${homepage}/releases/download/v${version}/${file}`;
}

// The README's first sentence: the first paragraph under its title, up to the first full stop.
function readmeSentence(readme) {
    const paragraph = readme.split(/\n\s*\n/).find((block) => block.trim() !== "" && !block.startsWith("#"));
    const match = paragraph && /^([\s\S]*?\.)(\s|$)/.exec(paragraph.trim());
    if (!match) throw new Error("README.md has no first sentence to describe the package with");
    return match[1].replace(/\s+/g, " ");
}

// The licence's name and its holder, from LICENSE's first line ("MIT License") and its copyright line.
function licenceFacts(licence) {
    const name = /^(\S+) License\s*$/m.exec(licence);
    const holder = /^Copyright \([cC]\) \d{4}(?:-\d{4})? (.+?)\s*$/m.exec(licence);
    if (!name || !holder) throw new Error("LICENSE names no licence or no copyright holder");
    return { license: name[1], publisher: holder[1] };
}

// The release's SHA256SUMS as a map from file name to lower-case hash.
function readSums(text) {
    const sums = new Map();
    for (const line of text.split("\n")) {
        if (line === "") continue;
        const match = /^([0-9a-f]{64}) [ *](.+)$/.exec(line);
        if (!match) throw new Error(`SHA256SUMS: a line that is not a hash and a file name: ${line}`);
        sums.set(match[2], match[1]);
    }
    return sums;
}

// A YAML scalar. Plain where every YAML reader takes it for the same string; quoted otherwise, so that a 1.1 reader
// (which winget's tools may be) turns no version, date or all-digit hash into a number or a date.
function yamlScalar(value) {
    if (/^[A-Za-z][A-Za-z0-9 .,/_+:()-]*$/.test(value) && !/: |:$| $/.test(value) && !/^[0-9A-Fa-f]+$/.test(value) &&
        !/^(y|n|yes|no|true|false|on|off|null)$/i.test(value)) {
        return value;
    }
    return JSON.stringify(value);
}

// One winget manifest: a header naming its schema, then the keys in order (an array value is a list of mappings).
function yamlDocument(type, fields) {
    const lines = [`# yaml-language-server: $schema=https://aka.ms/winget-manifest.${type}.${manifestVersion}.schema.json`, ""];
    for (const [key, value] of fields) {
        if (Array.isArray(value)) {
            lines.push(`${key}:`);
            for (const item of value) {
                Object.entries(item).forEach(([k, v], i) => lines.push(`${i === 0 ? "  - " : "    "}${k}: ${yamlScalar(v)}`));
            }
        } else {
            lines.push(`${key}: ${yamlScalar(value)}`);
        }
    }
    return lines.join("\n") + "\n";
}

function releaseDate(epoch) {
    if (epoch === undefined || epoch === "") return undefined;
    if (!/^\d+$/.test(epoch)) throw new Error(`SOURCE_DATE_EPOCH is not a number of seconds: ${epoch}`);
    return new Date(Number(epoch) * 1000).toISOString().slice(0, 10);
}

// The manifests' texts, by their paths in the release folder.
function manifests({ version, homepage, sums, readme, licence, epoch }) {
    const { license, publisher } = licenceFacts(licence);
    const description = readmeSentence(readme);
    const installers = architectures.map(({ arch, scoop }) => {
        const file = zipName(version, arch);
        const hash = sums.get(file);
        if (!hash) throw new Error(`SHA256SUMS has no line for ${file}`);
        return { arch, scoop, file, hash, url: downloadUrl(homepage, version, file) };
    });
    const common = [
        ["PackageIdentifier", packageIdentifier],
        ["PackageVersion", version],
    ];
    const date = releaseDate(epoch);
    const winget = `winget/${packageIdentifier}`;
    const files = {};
    files[`${winget}.yaml`] = yamlDocument("version", [
        ...common,
        ["DefaultLocale", "en-US"],
        ["ManifestType", "version"],
        ["ManifestVersion", manifestVersion],
    ]);
    files[`${winget}.locale.en-US.yaml`] = yamlDocument("defaultLocale", [
        ...common,
        ["PackageLocale", "en-US"],
        ["Publisher", publisher],
        ["PackageName", packageName],
        ["PackageUrl", homepage],
        ["License", license],
        ["LicenseUrl", `${homepage}/blob/v${version}/LICENSE`],
        ["ShortDescription", description],
        ["Moniker", scoopName],
        ["ReleaseNotesUrl", `${homepage}/releases/tag/v${version}`],
        ["ManifestType", "defaultLocale"],
        ["ManifestVersion", manifestVersion],
    ]);
    files[`${winget}.installer.yaml`] = yamlDocument("installer", [
        ...common,
        ["InstallerType", "zip"],
        ["NestedInstallerType", "portable"],
        // winget links the alias to the program (a symbolic link), so no second process stands between the
        // console and Tessival.
        ["NestedInstallerFiles", [{ RelativeFilePath: "Tessival.exe", PortableCommandAlias: scoopName }]],
        ...(date ? [["ReleaseDate", date]] : []),
        ["Installers", installers.map((i) => ({
            Architecture: i.arch,
            InstallerUrl: i.url,
            InstallerSha256: i.hash.toUpperCase(),
        }))],
        ["ManifestType", "installer"],
        ["ManifestVersion", manifestVersion],
    ]);

    const byScoopArch = (make) => Object.fromEntries(
        [...installers].reverse().map((i) => [i.scoop, make(i)]));
    const scoop = {
        "##": [
            "On the PATH with env_add_path rather than bin: bin puts Scoop's shim, a program of its own, between",
            "the console and Tessival, which the shim would then start. Windows lets a process take the foreground,",
            "and grant it to a running dialog, when the foreground process started it: the console's shell must.",
        ],
        version,
        description,
        homepage,
        license,
        architecture: byScoopArch((i) => ({ url: i.url, hash: i.hash })),
        env_add_path: ".",
        checkver: { github: homepage },
        autoupdate: {
            architecture: byScoopArch((i) => ({
                url: downloadUrl(homepage, "$version", zipName("$version", i.arch)),
            })),
            // Scoop finds each zip's hash in the release's SHA256SUMS by the zip's name.
            hash: { url: "$baseurl/SHA256SUMS" },
        },
    };
    files[`${scoopName}.json`] = JSON.stringify(scoop, null, 4) + "\n";
    return files;
}

// The files written by the release, relative to its folder.
const manifestFiles = Object.freeze([
    `winget/${packageIdentifier}.yaml`,
    `winget/${packageIdentifier}.locale.en-US.yaml`,
    `winget/${packageIdentifier}.installer.yaml`,
    `${scoopName}.json`,
]);

function writeManifests(folder, version, projectHomepage, env = process.env) {
    const files = manifests({
        version,
        homepage: releaseHomepage(projectHomepage, env),
        sums: readSums(fs.readFileSync(path.join(folder, "SHA256SUMS"), "utf8")),
        readme: fs.readFileSync(path.join(root, "README.md"), "utf8"),
        licence: fs.readFileSync(path.join(root, "LICENSE"), "utf8"),
        epoch: env.SOURCE_DATE_EPOCH,
    });
    fs.rmSync(path.join(folder, "winget"), { recursive: true, force: true });
    for (const [name, text] of Object.entries(files)) {
        fs.mkdirSync(path.dirname(path.join(folder, name)), { recursive: true });
        fs.writeFileSync(path.join(folder, name), text);
    }
    return Object.keys(files);
}

module.exports = {
    architectures, manifestFiles, manifestVersion, packageIdentifier, scoopName,
    downloadUrl, readSums, releaseHomepage, writeManifests, zipName,
};

if (require.main === module) {
    const [folder, version, homepage] = process.argv.slice(2);
    if (!folder || !version || !homepage) {
        console.error("Usage: node scripts/manifests.js <release folder> <version> <homepage>");
        process.exit(2);
    }
    try {
        for (const name of writeManifests(folder, version, homepage)) console.log(name);
    } catch (error) {
        console.error(`Writing the manifests failed: ${error.message}`);
        process.exit(1);
    }
}
