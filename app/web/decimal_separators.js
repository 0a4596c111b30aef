// The reader's decimal symbol and the zero of their digits, from CLDR 41
// (made by app/web/decimal_separators.mjs from the extract in app/web/cldr/).
// The program decides from them which separator it writes beside its Latin
// digits.
(function() {
    var table = [
        [",", "0", ["af", "agq", "ar-dz", "ar-ly", "ar-ma", "ar-tn", "ast", "az", "bas",
            "be", "bg", "br", "bs", "ca", "cs", "da", "de", "dsb", "dua", "dyo", "el",
            "en-at", "en-be", "en-de", "en-dk", "en-fi", "en-nl", "en-se", "en-si", "en-za",
            "eo", "es", "et", "eu", "ewo", "ff", "fi", "fo", "fr", "fur", "fy", "gl", "hr",
            "hsb", "hu", "hy", "ia", "id", "is", "it", "jgo", "jv", "ka", "kab", "kea",
            "kgp", "kk", "kkj", "kl", "km", "ksf", "ksh", "ku", "ky", "lb", "ln", "lo", "lt",
            "lu", "lv", "mgh", "mk", "ms-bn", "ms-id", "mua", "nb", "nl", "nmg", "nn", "nnh",
            "no", "os", "pl", "pt", "qu-bo", "rn", "ro", "ru", "rw", "sah", "sc", "se",
            "seh", "sg", "shi", "sk", "sl", "smn", "sq", "sr", "su", "sv", "sw-cd", "tg",
            "tk", "tr", "tt", "tzm", "uk", "uz", "vi", "wae", "wo", "yav", "yrl", "zgh"]],
        ["\u066b", "\u0660", ["ar", "ckb", "sd"]],
        [".", "\u09e6", ["as", "bn", "mni"]],
        [".", "\ud804\udd36", ["ccp"]],
        [".", "\u0f20", ["dz"]],
        ["\u066b", "\u06f0", ["fa", "ks", "lrc", "mzn", "pa-arab", "ps", "ur-in",
            "uz-arab"]],
        [".", "\u0966", ["mr", "ne", "sa"]],
        [".", "\u1040", ["my"]],
        [".", "\u1c50", ["sat"]],
        [".", "0", ["ar-ae", "ar-eh", "de-ch", "de-li", "es-419", "es-br", "es-bz",
            "es-cu", "es-do", "es-gt", "es-hn", "es-mx", "es-ni", "es-pa", "es-pe", "es-pr",
            "es-sv", "es-us", "it-ch", "ks-deva", "sd-deva"]],
        [".", "\ud83a\udd50", ["ff-adlm"]]
    ];
    function lookup(table, tag) {
        var parts = tag.split("-u-")[0].toLowerCase().split("-");
        var tags = [parts.join("-"), parts.filter(function(part, i) { return i === 0 || part.length !== 4; }).join("-"),
                    parts.slice(0, 2).join("-"), parts[0]];
        for (var t = 0; t < tags.length; ++t) {
            for (var i = 0; i < table.length; ++i) {
                if (table[i][2].indexOf(tags[t]) >= 0)
                    return table[i];
            }
        }
        return [".", "0"];
    }
    var found = lookup(table, navigator.language || "");
    Module.decimalSymbol = found[0];
    Module.zeroDigit = found[1];
})();
