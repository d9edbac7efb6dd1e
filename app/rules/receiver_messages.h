#pragma once
// Why a reception ended, as the receiver thread reports it in the status line.

namespace app {

inline constexpr char openRefused[] = "Cle indisponible ou occupee. Aucune autre cle ne sera essayee.";
inline constexpr char identityChanged[] = "L'identite USB a change. Reception annulee.";
inline constexpr char biasTeeRefused[] = "Impossible de desactiver le bias tee.";
inline constexpr char digitalGainRefused[] = "Reglage du gain numerique impossible.";
inline constexpr char sampleRateRefused[] = "Debit radio refuse.";
inline constexpr char samplingModeRefused[] = "Mode de reception refuse.";
inline constexpr char correctionRefused[] = "Correction PPM refusee.";
inline constexpr char frequencyRefused[] = "Frequence refusee.";
inline constexpr char gainModeRefused[] = "Mode gain refuse.";
inline constexpr char gainListInvalid[] = "Liste des gains invalide.";
inline constexpr char gainRefused[] = "Gain refuse.";
inline constexpr char streamStartFailed[] = "Initialisation du flux impossible.";
inline constexpr char streamResumeFailed[] = "Reprise du flux apres accord impossible.";
inline constexpr char noRadioData[] =
    "Aucune donnee radio depuis 10 secondes : reception et scan arretes.";
inline constexpr char streamInterrupted[] = "Flux USB interrompu. Verifiez la cle choisie.";
inline constexpr char audioOutputLost[] = "Perte de la sortie audio.";

}  // namespace app
